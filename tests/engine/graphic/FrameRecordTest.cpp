// The frame record's rules, on a fake drawer and layer that write down what they are asked
// to do: no window, no GL.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "graphic/KFrameRecord.h"

namespace {

constexpr int16_t kWidth = 800;
constexpr int16_t kHeight = 600;

// Owners are their own names.
constexpr char kScreen[] = "view", kBackground[] = "bg", kPicture[] = "pic", kGlass[] = "glass", kSmall[] = "small";

struct Log : KCommandDrawer, KFrameLayer {
  std::string text;
  void Write(const char* what) { text += text.empty() ? what : std::string(" ") + what; }
  void Draw(const KDrawCommand& command) override { Write(static_cast<const char*>(command.owner)); }
  bool layerMade = true;
  bool SelectLayer() override { return Write("layer"), layerMade; }
  void SelectFrame() override { Write("frame"); }
  void CopyLayer() override { Write("copy"); }
};

KDrawCommand View() { return {kScreen, 0, KViewCommand{kWidth, kHeight}}; }

// A picture copied square to (x, y), w x h, opaque or blended.
KDrawCommand Quad(const char* owner, uint64_t version, float x, float y, float w, float h, bool blended) {
  KQuadCommand quad;
  const float top = kHeight - y, bottom = top - h;
  quad.corners = {KCorner{x, top}, KCorner{x, bottom}, KCorner{x + w, bottom}, KCorner{x + w, top}};
  quad.blend.on = blended;
  return {owner, version, quad};
}

KDrawCommand Background() { return Quad(kBackground, 1, 0, 0, kWidth, kHeight, false); }
KDrawCommand Picture(uint64_t version) { return Quad(kPicture, version, 100, 100, 50, 50, false); }
KDrawCommand Glass() { return Quad(kGlass, 1, 110, 110, 20, 20, true); }
KDrawCommand Small() { return Quad(kSmall, 1, 0, 0, 400, 300, false); }

struct Frame {
  std::vector<KDrawCommand> commands;
  bool presentAnyway = false;
};

struct Case {
  const char* name;
  std::vector<Frame> frames;
  bool square;
  // What the last frame's end reports and draws; every frame before it is presented.
  bool presented;
  const char* drawn;
  bool layer = true;
  bool layerMade = true;
};

const Frame kFirst = {{View(), Background(), Picture(1)}};
const Frame kSecond = {{View(), Background(), Picture(2)}};

const Case kCases[] = {
    {"the first frame is drawn whole", {kFirst}, true, true, "view bg pic"},
    {"an unchanged frame is neither drawn nor presented", {kFirst, kFirst}, true, false, ""},
    {"a changed picture is drawn again over the layer made of what stayed", {kFirst, kSecond}, true, true,
     "layer view bg frame copy view pic"},
    {"the next change draws over the layer kept", {kFirst, kSecond, {{View(), Background(), Picture(3)}}}, true, true,
     "copy view pic"},
    {"what lies over a changed picture is drawn again too",
     {{{View(), Background(), Picture(1), Glass()}}, {{View(), Background(), Picture(2), Glass()}}}, true, true,
     "layer view bg frame copy view pic glass"},
    {"a first picture that does not cover the frame leaves no layer: drawn whole",
     {{{View(), Small(), Picture(1)}}, {{View(), Small(), Picture(2)}}}, true, true, "view small pic"},
    {"a frame not drawn square is drawn whole", {kFirst, kSecond}, false, true, "view bg pic"},
    {"an expose presents an unchanged frame again, from the layer", {kFirst, {kFirst.commands, true}}, true, true,
     "layer view bg pic frame copy view"},
    {"without a layer a changed frame is drawn whole", {kFirst, kSecond}, true, true, "view bg pic", false},
    {"a layer that cannot be made leaves the frame drawn whole", {kFirst, kSecond}, true, true, "layer view bg pic",
     true, false},
};

TEST(FrameRecord, FollowsItsRules) {
  for (const Case& c : kCases) {
    Log log;
    log.layerMade = c.layerMade;
    KFrameRecord record(log, c.layer ? &log : nullptr);
    bool presented = true;
    for (const Frame& frame : c.frames) {
      EXPECT_TRUE(presented) << c.name;
      log.text.clear();
      record.SetSquareFrame(c.square ? kWidth : 0, c.square ? kHeight : 0);
      for (const KDrawCommand& command : frame.commands) record.Record(command);
      presented = record.End(frame.presentAnyway);
    }
    EXPECT_EQ(presented, c.presented) << c.name;
    EXPECT_EQ(log.text, c.drawn) << c.name;
  }
}

TEST(FrameRecord, AChangingPictureFlushesOnlyWhatDrawsFromIt) {
  Log log;
  KFrameRecord record(log, &log);
  record.SetSquareFrame(kWidth, kHeight);
  record.Record(View());
  record.Record(Background());
  record.FlushUsing(kPicture);
  EXPECT_EQ(log.text, "");
  record.Record(Picture(1));
  record.FlushUsing(kPicture);
  EXPECT_EQ(log.text, "view bg pic");
  // Drawn already, the frame is finished whole.
  log.text.clear();
  EXPECT_TRUE(record.End(false));
  EXPECT_EQ(log.text, "");
}

TEST(DrawCommand, BoundsAndCoverComeFromTheCorners) {
  const KDrawCommand background = Background();
  EXPECT_TRUE(CoverOf(background, kHeight) == (KScreenRect{0, 0, kWidth, kHeight}));
  EXPECT_TRUE(BoundsOf(background, kHeight).Holds(KScreenRect{0, 0, kWidth, kHeight}));
  EXPECT_TRUE(CoverOf(Glass(), kHeight) == KScreenRect{});
  EXPECT_TRUE(BoundsOf(Glass(), kHeight).Holds(KScreenRect{110, 110, 130, 130}));
  EXPECT_FALSE(BoundsOf(Glass(), kHeight).Meets(KScreenRect{200, 200, 300, 300}));
  // Turned about its centre, a quad may reach as far as its corners do.
  KDrawCommand turned = Glass();
  auto& quad = std::get<KQuadCommand>(turned.drawing);
  quad.placement = {true, 120, kHeight - 120.0f, 45, 2};
  quad.corners = {KCorner{-10, 10}, KCorner{-10, -10}, KCorner{10, -10}, KCorner{10, 10}};
  EXPECT_TRUE(BoundsOf(turned, kHeight).Holds(KScreenRect{92, 92, 148, 148}));
  EXPECT_TRUE(CoverOf(turned, kHeight) == KScreenRect{});
  EXPECT_FALSE(View().Paints());
}

}  // namespace
