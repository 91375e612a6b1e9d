#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <utility>

#include "app/AssetCache.h"
#include "app/Frame.h"
#include "app/Targets.h"
#include "studio/StudioScreens.h"
#include "app/Widgets.h"
#include "graphic/KGraphic.h"
#include "input/KControls.h"
#include "sound/KSample.h"
#include "studio/CanvasGeometry.h"
#include "studio/CanvasHistory.h"
#include "studio/ColourPalette.h"
#include "studio/GalleryScreen.h"
#include "studio/PaintTools.h"
#include "board/PictureBuffer.h"
#include "board/PictureFiles.h"

namespace {


enum StudioPicture : size_t { kBackgroundPicture, kSavePicture, kLoadPicture, kUndoPicture, kRedoPicture };
enum StudioSound : size_t { kSaveOkSound, kSaveFailedSound, kColourSound };

constexpr ButtonPlace kPickerPlace = {82, 141, 716, 10};
constexpr ButtonPlace kPenPlace = {85, 160, 714, 145};
constexpr ButtonPlace kEraserPlace = {88, 116, 714, 303};
constexpr ButtonPlace kBucketPlace = {89, 151, 713, 420};
constexpr ButtonPlace kSavePlace = {120, 88, 332, 492};
constexpr ButtonPlace kLoadPlace = {142, 77, 176, 492};
// Undo and redo sit on the floor right of Save, level with it.
constexpr ButtonPlace kUndoPlace = {100, 88, 478, 492};
constexpr ButtonPlace kRedoPlace = {100, 88, 592, 492};

// The selection frame around a swatch, from its top-left corner: a dark square of 17
// pixels with a light one inside.
struct FrameLine {
  int32_t x1, y1, x2, y2;
  float grey;
};
constexpr float kFrameDark = 0.3f;
constexpr float kFrameLight = 0.8f;
constexpr FrameLine kSelectionFrame[] = {
    {0, 0, 16, 0, kFrameDark},  {0, 16, 16, 16, kFrameDark}, {0, 0, 0, 16, kFrameDark},
    {16, 0, 16, 15, kFrameDark}, {1, 1, 15, 1, kFrameLight},  {1, 15, 15, 15, kFrameLight},
    {1, 1, 1, 15, kFrameLight},  {15, 1, 15, 15, kFrameLight},
};

struct StudioButtons {
  ImageButton exit, picker, pen, eraser, bucket, load, save, undo, redo;
};

enum class HistoryRequest { Undo, Redo };

struct StudioState {
  uint32_t colour = kBlack;
  PaintTool tool = PaintTool::Pen;
  PaletteEntry selection = kStartingEntry;
  // The button was held over the canvas in an earlier frame of this press.
  bool strokeActive = false;
  CanvasCell lastCell;
  // The button was held on the palette in the previous frame, on heldEntry.
  bool holdingPalette = false;
  PaletteEntry heldEntry;
  // Undos and redos asked for during a press, done in order once the press has ended.
  std::deque<HistoryRequest> requests;
};

struct Pointer {
  int32_t x;
  int32_t y;
  bool down;
};

void LoadStudioAssets(AssetCache& assets, const CanvasGeometry& canvas) {
  assets.AddPicture(canvas.studioBackground, false);
  assets.AddPicture("img\\ico\\save.png", true);
  assets.AddPicture("img\\ico\\load.png", true);
  assets.AddPicture("img\\ico\\undo.png", true);
  assets.AddPicture("img\\ico\\redo.png", true);
  assets.AddSound("snd\\sfx\\save_ok.wav");
  assets.AddSound("snd\\sfx\\save_failed.wav");
  assets.AddSound("snd\\sfx\\color.wav");
}

StudioButtons MakeStudioButtons(const AssetCache& assets) {
  KSample* click = SharedAssets.Sound(kSharedClickSound);
  KSample* tool = SharedAssets.Sound(kSharedToolSound);
  StudioButtons buttons;
  buttons.exit = MakeGameButton(SharedAssets.Picture(kSharedExit), kActivityExitPlace, click);
  buttons.picker = MakeGameButton(SharedAssets.Picture(kSharedPickerCursor), kPickerPlace, tool);
  buttons.pen = MakeGameButton(SharedAssets.Picture(kSharedPenCursor), kPenPlace, tool);
  buttons.eraser = MakeGameButton(SharedAssets.Picture(kSharedEraserCursor), kEraserPlace, tool);
  buttons.bucket = MakeGameButton(SharedAssets.Picture(kSharedBucketCursor), kBucketPlace, tool);
  buttons.load = MakeGameButton(assets.Picture(kLoadPicture), kLoadPlace, click);
  buttons.save = MakeGameButton(assets.Picture(kSavePicture), kSavePlace, nullptr);
  buttons.undo = MakeGameButton(assets.Picture(kUndoPicture), kUndoPlace, click);
  buttons.redo = MakeGameButton(assets.Picture(kRedoPicture), kRedoPlace, click);
  return buttons;
}

// Over the canvas the pointer shows the tool in hand.
int32_t CursorOf(PaintTool tool) {
  switch (tool) {
    case PaintTool::Picker: return kCursorPicker;
    case PaintTool::Pen: return kCursorPen;
    case PaintTool::Eraser: return kCursorEraser;
    case PaintTool::Bucket: return kCursorBucket;
  }
  return kCursorArrow;
}

Pointer ReadPointer() { return {GetMouseX(), GetMouseY(), IsLeftButtonDown()}; }

// The picker takes the cell's colour, and the palette selection moves to it when the
// palette has that colour.
void PickColour(StudioState& state, CanvasCell cell) {
  state.colour = PictureBuffer.At(cell.column, cell.row);
  if (const std::optional<PaletteEntry> entry = FindPaletteColour(state.colour)) state.selection = *entry;
}

// Pen and eraser join the cell of the previous frame to this one, so they paint
// nothing in the first frame of a press.
void UseTool(StudioState& state, const CanvasGeometry& canvas, CanvasCell cell) {
  const CanvasCell from = state.lastCell;
  switch (state.tool) {
    case PaintTool::Picker:
      PickColour(state, cell);
      break;
    case PaintTool::Pen:
      if (state.strokeActive) StrokeLine(from.column, from.row, cell.column, cell.row, state.colour);
      break;
    case PaintTool::Eraser:
      if (state.strokeActive) StrokeLine(from.column, from.row, cell.column, cell.row, kWhite);
      break;
    case PaintTool::Bucket:
      BucketFill(cell.column, cell.row, state.colour, canvas.columns, canvas.rows);
      break;
  }
  state.strokeActive = true;
  state.lastCell = cell;
}

// The colour sound marks touching a swatch: it plays when the button comes down on an
// entry or slides onto another one, unless it is still playing; holding still on one
// swatch plays it once.
void ChooseFromPalette(StudioState& state, PaletteEntry entry, KSample* colourSound) {
  state.selection = entry;
  state.colour = PaletteColour(entry);
  const bool touched = !state.holdingPalette || state.heldEntry != entry;
  state.holdingPalette = true;
  state.heldEntry = entry;
  if (touched && colourSound && !colourSound->IsPlaying()) colourSound->Play();
}

// Everything one press changes on the canvas is one step of its history.
void HandlePointer(StudioState& state, CanvasHistory& history, const CanvasGeometry& canvas, const Pointer& pointer,
                   KSample* colourSound) {
  if (!pointer.down) {
    state.strokeActive = false;
    state.holdingPalette = false;
    history.EndStep(PictureBuffer);
    return;
  }
  if (!history.InStep()) history.BeginStep(PictureBuffer);
  if (const std::optional<CanvasCell> cell = CanvasCellAt(canvas, pointer.x, pointer.y)) UseTool(state, canvas, *cell);
  if (const std::optional<PaletteEntry> entry = PaletteEntryAt(pointer.x, pointer.y))
    ChooseFromPalette(state, *entry, colourSound);
  else
    state.holdingPalette = false;
}

void ShowToolCursor(const StudioState& state, const CanvasGeometry& canvas, const Pointer& pointer) {
  if (CanvasCellAt(canvas, pointer.x, pointer.y)) CursorKind = CursorOf(state.tool);
  if (PaletteEntryAt(pointer.x, pointer.y)) CursorKind = kCursorPicker;
}

// Without a mouse, the canvas and the palette are chosen cell by cell.
void AddStudioTargets(const CanvasGeometry& canvas) {
  AddTarget({canvas.left, canvas.top, canvas.columns * canvas.cellSize, canvas.rows * canvas.cellSize, canvas.columns,
             canvas.rows});
  AddTarget({kPaletteLeft, kPaletteTop, kPaletteColumns * kSwatchSide, kPaletteRows * kSwatchSide, kPaletteColumns,
             kPaletteRows});
}

void DrawSelectionFrame(KGraphic* lines, PaletteEntry selection) {
  if (!lines) return;
  const auto x = static_cast<float>(SwatchLeft(selection));
  const auto y = static_cast<float>(SwatchTop(selection));
  for (const FrameLine& line : kSelectionFrame)
    lines->DrawLine(x + static_cast<float>(line.x1), y + static_cast<float>(line.y1), x + static_cast<float>(line.x2),
                    y + static_cast<float>(line.y2), line.grey, line.grey, line.grey, 1.0f);
}

void SaveCanvas(const CanvasGeometry& canvas, const AssetCache& assets) {
  const bool saved = SavePainting(canvas.size, canvas.columns, canvas.rows);
  assets.Sound(saved ? kSaveOkSound : kSaveFailedSound)->Play();
}

// For a grown-up at the keyboard: Ctrl+Z undoes, Ctrl+Y and Ctrl+Shift+Z redo.
void ReadHistoryKeys(StudioState& state) {
  for (const KKeyPress& press : FrameKeyPresses()) {
    if (!press.control || press.repeat) continue;
    if (press.keyCode == KEY_Y || (press.keyCode == KEY_Z && press.shift))
      state.requests.push_back(HistoryRequest::Redo);
    else if (press.keyCode == KEY_Z)
      state.requests.push_back(HistoryRequest::Undo);
  }
}

// A button of the history answers only while there is a step for it to take.
bool RunHistoryButton(ImageButton& button, bool available, float elapsed) {
  if (!available) {
    button.UpdateDimmed();
    return false;
  }
  button.Update(elapsed);
  return button.WasClicked();
}

// An undo or redo waits for the press in progress to end, so that a stroke is never cut.
void TakeHistoryRequests(StudioState& state, CanvasHistory& history) {
  if (history.InStep()) return;
  for (const HistoryRequest request : state.requests) {
    if (request == HistoryRequest::Undo) history.Undo(PictureBuffer);
    if (request == HistoryRequest::Redo) history.Redo(PictureBuffer);
  }
  state.requests.clear();
}

// The gallery's Take is a step of its own; Exit there brings the same canvas back, no step.
void RunGallery(StudioState& state, CanvasHistory& history, CanvasSize size) {
  history.BeginStep(PictureBuffer);
  GalleryScreen(size);
  history.EndStep(PictureBuffer);
  // The press that ended in the gallery is not the start of a stroke here.
  state.strokeActive = false;
}

// Draws and tests the buttons in their order; false when Exit was clicked.
bool RunButtons(StudioButtons& buttons, StudioState& state, CanvasHistory& history, const CanvasGeometry& canvas,
                const AssetCache& assets) {
  const auto elapsed = static_cast<float>(FrameTime);
  buttons.exit.Update(elapsed);
  if (buttons.exit.WasClicked()) return false;
  const std::pair<ImageButton*, PaintTool> tools[] = {
      {&buttons.picker, PaintTool::Picker},
      {&buttons.pen, PaintTool::Pen},
      {&buttons.eraser, PaintTool::Eraser},
      {&buttons.bucket, PaintTool::Bucket},
  };
  for (const auto& [button, tool] : tools) {
    button->Update(elapsed);
    if (button->WasClicked()) state.tool = tool;
  }
  buttons.load.Update(elapsed);
  if (buttons.load.WasClicked()) RunGallery(state, history, canvas.size);
  buttons.save.Update(elapsed);
  if (buttons.save.WasClicked()) SaveCanvas(canvas, assets);
  if (RunHistoryButton(buttons.undo, history.CanUndo(), elapsed)) state.requests.push_back(HistoryRequest::Undo);
  if (RunHistoryButton(buttons.redo, history.CanRedo(), elapsed)) state.requests.push_back(HistoryRequest::Redo);
  return true;
}

}  // namespace

StudioEnd PaintingScreen(CanvasSize size) {
  const CanvasGeometry& canvas = GetCanvasGeometry(size);
  AssetCache assets;
  LoadStudioAssets(assets, canvas);
  CanvasView view;
  view.Create(canvas);
  const std::unique_ptr<KGraphic> lines = CreateGraphic();
  ClearPictureBuffer();
  StudioButtons buttons = MakeStudioButtons(assets);
  StudioState state;
  CanvasHistory history(canvas.columns, canvas.rows);

  while (true) {
    BeginFrame();
    DrawBackground(assets.Picture(kBackgroundPicture));
    view.Draw();
    AddStudioTargets(canvas);
    const Pointer pointer = ReadPointer();
    HandlePointer(state, history, canvas, pointer, assets.Sound(kColourSound));
    ShowToolCursor(state, canvas, pointer);
    DrawSelectionFrame(lines.get(), state.selection);
    if (!RunButtons(buttons, state, history, canvas, assets)) break;
    ReadHistoryKeys(state);
    TakeHistoryRequests(state, history);
    if (!EndFrame()) break;
  }
  CursorKind = kCursorArrow;
  return StudioEnd::Left;
}
