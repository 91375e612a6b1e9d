// The game's web page, served as plain files and played in headless chromium with the
// browser's own mouse and touch events: the menu shows what the native window shows, a saved
// painting is kept in the browser's IndexedDB and comes back after a reload, a deleted one
// stays deleted, the first click or tap starts the sound, a tap choosing as a click does, and
// no quick click or tap is lost.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <utility>

#include "Browser.h"
#include "GameLauncher.h"
#include "graphic/KPictureDecode.h"
#include "MenuPlaces.h"
#include "StudioPlaces.h"
#include "TestPaths.h"

namespace fs = std::filesystem;

namespace {

using namespace std::chrono_literals;
using Spot = tafutest::Point;
using namespace tafutest;
using tafutest::Screenshot;
using tafutest::WaitFor;

const char* const kSite = tafutest::WebSite();
constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
// The player's folder on the page is kept in this IndexedDB database and object store.
constexpr const char* kDatabase = "/tafu";
constexpr const char* kStore = "FILE_DATA";
constexpr const char* kFirstBigPainting = "/draw/big/1.tga";
// A saved big painting: the 18-byte TGA header and 50 x 40 cells of 4 bytes.
constexpr int64_t kBigPaintingBytes = 18 + 50 * 40 * 4;
// The page loads its program and pictures before the first frame; a busy machine is slow.
constexpr auto kPageTimeout = 120s;
constexpr auto kScreenTimeout = 30s;
constexpr double kMostMenuDifference = 3.0;
// Mean change per channel that tells a new screen from the one before, and a settled one
// (where a button under the pointer may still pulse).
constexpr double kNewScreenChange = 8.0;
constexpr double kSettledChange = 1.5;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr int32_t kStrokeMiddle = (kStrokeFirst + kStrokeLast) / 2;
// Where the pointer rests after the stroke, so that the game's cursor hides no cell.
constexpr Spot kUnderTheCanvas = {400, 470};
constexpr uint32_t kColourTolerance = 6;
constexpr auto kSoundTimeout = 10s;
// Records 4 s of what the page plays (its left channel) and counts the stretches of 32 samples,
// on the 64-sample grid every 93 ms half of the music lies on, that were heard before: a half
// of the track played again because it was not refilled in time. Silence is left out.
constexpr const char* kCountReplayedStretches = R"(new Promise((resolve) => {
  const node = Module.SDL2.audio.scriptProcessorNode;
  const play = node.onaudioprocess;
  const heard = [];
  node.onaudioprocess = function (event) { play.call(this, event); heard.push(...event.outputBuffer.getChannelData(0)); };
  setTimeout(() => {
    node.onaudioprocess = play;
    const seen = new Set();
    let loud = 0, replayed = 0;
    for (let i = 0; i + 32 <= heard.length; i += 64) {
      const stretch = heard.slice(i, i + 32);
      if (stretch.reduce((sum, x) => sum + x * x, 0) < 1e-4) continue;
      ++loud;
      const key = stretch.join();
      if (seen.has(key)) ++replayed; else seen.add(key);
    }
    resolve([loud, replayed]);
  }, 4000);
}))";
// Notes every sound context the page makes, to ask later whether one plays.
constexpr const char* kNoteSoundContexts = R"(
  window.tafuSoundContexts = [];
  const PageAudioContext = window.AudioContext;
  window.AudioContext = class extends PageAudioContext {
    constructor(...options) { super(...options); window.tafuSoundContexts.push(this); }
  };)";

// Counts the page's requests for persistent storage.
constexpr const char* kNotePersistRequests = R"(
  window.tafuPersistRequests = 0;
  const pagePersist = navigator.storage.persist.bind(navigator.storage);
  navigator.storage.persist = () => { window.tafuPersistRequests += 1; return pagePersist(); };)";

// On the grown-ups' page: beside the bin's painting an older copy of it cut short after its
// header, then the page shown again; which of the bin's items show a picture.
constexpr const char* kBinWithTruncatedCopy = R"(
  const bin = '/tafu/bin/', name = FS.readdir(bin + 'files').find((entry) => entry.endsWith('-1.tga'));
  FS.writeFile(bin + 'files/0-1.tga', FS.readFile(bin + 'files/' + name).subarray(0, 100));
  FS.writeFile(bin + 'info/0-1.tga.trashinfo', FS.readFile(bin + 'info/' + name + '.trashinfo'));
  showAll();
  Array.from(document.querySelectorAll('#bin li'), (item) => item.querySelector('img') !== null).join();)";

using ChannelMeans = std::array<double, 3>;

// Mean absolute difference per channel (red, green, blue) of two 0x00BBGGRR pictures.
ChannelMeans MeanDifference(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  ChannelMeans sums{};
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    for (size_t channel = 0; channel < sums.size(); ++channel) {
      const int shift = 8 * static_cast<int>(channel);
      sums[channel] += std::abs(static_cast<int>(a[i] >> shift & 0xFF) - static_cast<int>(b[i] >> shift & 0xFF));
    }
  }
  for (double& sum : sums) sum /= static_cast<double>(std::max<size_t>(1, a.size()));
  return sums;
}

// The pixels of a PNG (a string or bytes), red, green, blue and alpha row by row; empty when it is none.
std::vector<uint8_t> DecodedPng(const auto& png) {
  KDecodedPicture picture;
  if (!DecodePicture(png.data(), png.size(), KPictureFormat::Png, 4096, picture)) return {};
  return {picture.rgba.get(), picture.rgba.get() + static_cast<size_t>(picture.width) * picture.height * 4};
}

double MostChanged(const ChannelMeans& means) { return std::max({means[0], means[1], means[2]}); }

std::function<bool(uint32_t)> Near(uint32_t colour) {
  return [colour](uint32_t pixel) {
    for (int shift = 0; shift < 24; shift += 8) {
      if (std::abs(static_cast<int>(pixel >> shift & 0xFF) - static_cast<int>(colour >> shift & 0xFF)) >
          static_cast<int>(kColourTolerance))
        return false;
    }
    return true;
  };
}

class WebPage : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fs::exists(fs::path(kSite) / "index.html")) << "no web site in " << kSite << " (./web.sh --build)";
    ASSERT_EQ(server_.Failure(), "");
    ASSERT_EQ(browser_.Failure(), "");
    ASSERT_TRUE(browser_.Navigate(server_.Url())) << browser_.Failure();
    ASSERT_TRUE(WaitForMenu()) << "the page shows no menu; " << browser_.Failure();
  }

  // Takes screenshots into shot_ until one passes wanted.
  bool WaitForShot(const std::function<bool(const Screenshot&)>& wanted,
                   std::chrono::milliseconds timeout = kScreenTimeout) {
    return WaitFor([&] {
      shot_ = browser_.Capture();
      return wanted(shot_);
    }, timeout);
  }
  bool WaitForPixel(Spot spot, const std::function<bool(uint32_t)>& wanted, std::chrono::milliseconds timeout = kScreenTimeout) {
    return WaitForShot([&](const Screenshot& shot) {
      return shot.width == kWidth && shot.height == kHeight && wanted(shot.At(spot.x, spot.y));
    }, timeout);
  }
  bool WaitForMenu() { return WaitForPixel(kMenuSky, IsBluish, kPageTimeout); }

  // Waits until two screenshots in a row are alike.
  bool WaitForSettledScreen() {
    Screenshot last;
    return WaitForShot([&](const Screenshot& shot) {
      const bool settled = !last.pixels.empty() && MostChanged(MeanDifference(shot.pixels, last.pixels)) < kSettledChange;
      last = shot;
      return settled;
    });
  }
  // Waits until the page shows another screen than before, which may still be moving: a
  // button under the pointer pulses for as long as the pointer rests on it.
  bool WaitForNewScreen(const Screenshot& before) {
    return WaitForShot([&](const Screenshot& shot) {
      return MostChanged(MeanDifference(shot.pixels, before.pixels)) > kNewScreenChange;
    });
  }

  bool Click(Spot spot) { return browser_.Click(spot.x, spot.y); }

  // From the menu to the big canvas, its palette shown.
  void OpenBigCanvas() {
    const Screenshot menu = browser_.Capture();
    ASSERT_TRUE(Click(kPaint));
    ASSERT_TRUE(WaitForNewScreen(menu)) << "no canvas choice after the paint button";
    ASSERT_TRUE(Click(kBig));
    ASSERT_TRUE(WaitForPixel(kFirstSwatch, Near(kFirstSwatchColour))) << "no big canvas";
  }

  // A red stroke along one row, saved, and found stored in the page's IndexedDB.
  void PaintAndSave() {
    ASSERT_NO_FATAL_FAILURE(OpenBigCanvas());
    ASSERT_TRUE(Click(kRedSwatch));
    const Spot first = BigCanvasCell(kStrokeFirst, kStrokeRow);
    const Spot last = BigCanvasCell(kStrokeLast, kStrokeRow);
    ASSERT_TRUE(browser_.Drag(first.x, first.y, last.x, last.y));
    ASSERT_TRUE(browser_.MoveTo(kUnderTheCanvas.x, kUnderTheCanvas.y));
    ASSERT_TRUE(WaitForPixel(BigCanvasCell(kStrokeMiddle, kStrokeRow), Near(kRed)))
        << "the stroke was not painted red: " << std::hex << Shown(BigCanvasCell(kStrokeMiddle, kStrokeRow));
    ASSERT_TRUE(Click(kSaveMiddle));
    ASSERT_TRUE(WaitFor([&] { return StoredPainting() == kBigPaintingBytes; }, kScreenTimeout))
        << "the saved painting is not in IndexedDB: " << StoredPainting() << " bytes; " << browser_.Failure();
  }

  // The size of the first big painting in the page's IndexedDB, -1 when it is not there.
  int64_t StoredPainting() {
    const std::string suffix = kFirstBigPainting;
    for (const auto& [key, size] : browser_.StoredFiles(kDatabase, kStore)) {
      if (key.size() >= suffix.size() && key.compare(key.size() - suffix.size(), suffix.size(), suffix) == 0) return size;
    }
    return -1;
  }

  // The size of the painting thrown away into the bin of the page's storage, -1 when none is.
  int64_t PaintingInBin() {
    for (const auto& [key, size] : browser_.StoredFiles(kDatabase, kStore)) {
      if (key.find("/bin/files/") != std::string::npos && key.ends_with("-1.tga")) return size;
    }
    return -1;
  }

  // The server's address without its closing slash: "http://127.0.0.1:<port>".
  std::string Origin() const { return server_.Url().substr(0, server_.Url().size() - 1); }

  // The grown-ups' page, once it shows what the storage holds.
  void OpenGrownUpsPage() {
    ASSERT_TRUE(browser_.Navigate(server_.Url() + "grown-ups.html")) << browser_.Failure();
    ASSERT_TRUE(WaitFor([&] { return browser_.Evaluate("document.body.dataset.ready") == "\"yes\""; }, kScreenTimeout))
        << "the grown-ups' page shows nothing; " << browser_.Failure();
  }

  // The page reloaded, back at the menu, then the big canvas's gallery.
  void ReloadAndOpenGallery() {
    ASSERT_TRUE(browser_.Reload()) << browser_.Failure();
    ASSERT_TRUE(WaitForMenu()) << "no menu after the reload";
    ASSERT_NO_FATAL_FAILURE(OpenBigCanvas());
    ASSERT_TRUE(Click(kLoadButton));
    // The gallery has no palette.
    ASSERT_TRUE(WaitForPixel(kFirstSwatch, [](uint32_t p) { return !Near(kFirstSwatchColour)(p); })) << "no gallery";
  }

  // The page reloaded with its sound contexts noted, at the menu, with none made: the browser
  // lets no page play before the child's first click or tap.
  void ReloadNotingSound() {
    ASSERT_NO_FATAL_FAILURE(ReloadWith(kNoteSoundContexts));
    ASSERT_EQ(browser_.Evaluate("window.tafuSoundContexts.length"), "0") << "the page made its sound before any click";
  }
  // The page reloaded with script run before its own, back at the menu.
  void ReloadWith(const char* script) {
    const std::string params = std::string("{\"source\":") + tafutest::JsonQuote(script) + "}";
    ASSERT_NE(browser_.Call("Page.addScriptToEvaluateOnNewDocument", params), "") << browser_.Failure();
    ASSERT_TRUE(browser_.Reload()) << browser_.Failure();
    ASSERT_TRUE(WaitForMenu()) << "no menu after the reload";
  }
  bool IsSoundPlaying() {
    return browser_.Evaluate("window.tafuSoundContexts.some((context) => context.state === 'running')") == "true";
  }
  bool WaitForSound() { return WaitFor([&] { return IsSoundPlaying(); }, kSoundTimeout); }

  uint32_t Shown(Spot spot) const { return shot_.At(spot.x, spot.y); }

  tafutest::StaticServer server_{kSite};
  tafutest::Browser browser_{kWidth, kHeight};
  Screenshot shot_;
};

// While the game loads, the page shows the menu's picture: on a phone held upright, where it
// does not fill the screen, the browser's largest contentful paint. The game's canvas then
// covers it.
TEST_F(WebPage, ThePageShowsTheMenusPictureFromItsFirstPaint) {
  ASSERT_NE(browser_.Call("Emulation.setDeviceMetricsOverride", R"({"width":412,"height":823,"deviceScaleFactor":1,"mobile":true})"), "");
  ASSERT_TRUE(browser_.Reload()) << browser_.Failure();
  EXPECT_EQ(browser_.Evaluate(R"(new Promise((resolve) => new PerformanceObserver((list) => {
      resolve(list.getEntries().at(-1).element.id);
    }).observe({type: 'largest-contentful-paint', buffered: true})))"),
            "\"first-picture\"");
  EXPECT_TRUE(WaitFor([&] { return browser_.Evaluate("getComputedStyle(Module.canvas).backgroundColor") == "\"rgb(0, 0, 0)\""; },
                      kPageTimeout));
}

TEST_F(WebPage, TheExitDoorStartsTheGameAgainAtItsMenu) {
  // A mark on this page's window, which a page started again no longer has.
  ASSERT_EQ(browser_.Evaluate("window.tafuFirstRun = true"), "true");
  ASSERT_TRUE(Click(kExit));
  ASSERT_TRUE(WaitFor([&] { return browser_.Evaluate("window.tafuFirstRun === undefined") == "true"; }, kScreenTimeout))
      << "the page did not start again; " << browser_.Failure();
  ASSERT_TRUE(WaitForMenu()) << "no menu after the exit door; " << browser_.Failure();
}

TEST_F(WebPage, ThePagePlaysOfflineAfterItsFirstVisit) {
  // The service worker takes the page over once it has kept every file of the site.
  ASSERT_TRUE(WaitFor([&] { return browser_.Evaluate("navigator.serviceWorker.controller !== null") == "true"; },
                      kScreenTimeout))
      << "no service worker keeps the page; " << browser_.Failure();
  server_.Stop();
  // Only what the service worker kept: the browser's own cache of the files goes.
  ASSERT_FALSE(browser_.Call("Network.clearBrowserCache").empty()) << browser_.Failure();
  ASSERT_TRUE(browser_.Reload()) << browser_.Failure();
  ASSERT_TRUE(WaitForMenu()) << "no menu with the host gone; " << browser_.Failure();
  ASSERT_NO_FATAL_FAILURE(OpenBigCanvas());
}

TEST_F(WebPage, TheMenuShowsWhatTheNativeWindowShows) {
  ASSERT_EQ(tafutest::EndToEndUnavailable(), "");
  // The game draws its own cursor: both pointers rest on the same open sky.
  ASSERT_TRUE(browser_.MoveTo(kMenuSky.x, kMenuSky.y));
  ASSERT_TRUE(WaitForSettledScreen()) << browser_.Failure();
  const Screenshot page = shot_;

  tafutest::GameLauncher game;
  ASSERT_TRUE(game.Start());
  ASSERT_TRUE(game.WaitForPixel(kMenuSky.x, kMenuSky.y, IsBluish, kScreenTimeout)) << "no native menu";
  ASSERT_EQ(game.Window().width, kWidth);
  ASSERT_EQ(game.Window().height, kHeight);
  ASSERT_TRUE(game.MoveTo(kMenuSky.x, kMenuSky.y));
  std::vector<uint32_t> native;
  std::vector<uint32_t> last;
  ASSERT_TRUE(WaitFor([&] {
    native = game.Area(0, 0, kWidth, kHeight);
    const bool settled = !last.empty() && MostChanged(MeanDifference(native, last)) < kSettledChange;
    last = native;
    return settled;
  }, kScreenTimeout));
  ASSERT_EQ(native.size(), page.pixels.size());

  const ChannelMeans difference = MeanDifference(page.pixels, native);
  EXPECT_LT(difference[0], kMostMenuDifference) << "red";
  EXPECT_LT(difference[1], kMostMenuDifference) << "green";
  EXPECT_LT(difference[2], kMostMenuDifference) << "blue";
}

// A saved painting stays in the browser: after a reload the gallery shows it, and the swap
// puzzle's difficulty screen frames it to be played on.
TEST_F(WebPage, ASavedPaintingIsKeptInTheBrowserAndShownInTheGalleryAfterAReload) {
  ASSERT_NO_FATAL_FAILURE(PaintAndSave());
  ASSERT_NO_FATAL_FAILURE(ReloadAndOpenGallery());
  EXPECT_TRUE(Near(kRed)(Shown(BigCanvasCell(kStrokeFirst, kStrokeRow)))) << std::hex << Shown(BigCanvasCell(kStrokeFirst, kStrokeRow));
  EXPECT_TRUE(Near(kRed)(Shown(BigCanvasCell(kStrokeLast, kStrokeRow)))) << std::hex << Shown(BigCanvasCell(kStrokeLast, kStrokeRow));
  EXPECT_TRUE(Near(kWhite)(Shown(BigCanvasCell(kStrokeLast + 1, kStrokeRow))));

  ASSERT_TRUE(browser_.Reload()) << browser_.Failure();
  ASSERT_TRUE(WaitForMenu()) << "no menu after the reload";
  const Screenshot menu = browser_.Capture();
  ASSERT_TRUE(Click(tafutest::kSwap));
  ASSERT_TRUE(WaitForNewScreen(menu)) << "no difficulty choice after the swap button";
  // The game's pointer, left where it clicked, would cover the frame.
  ASSERT_TRUE(browser_.MoveTo(kUnderTheCanvas.x, kUnderTheCanvas.y));
  const Spot framed = {600 + 10 + 3 * kStrokeMiddle + 1, 445 + 10 + 3 * kStrokeRow + 1};
  EXPECT_TRUE(WaitForPixel(framed, Near(kRed))) << "no framed painting: " << std::hex << Shown(framed);
}

TEST_F(WebPage, APaintingDeletedInTheGalleryStaysDeletedAfterAReload) {
  ASSERT_NO_FATAL_FAILURE(PaintAndSave());
  ASSERT_NO_FATAL_FAILURE(ReloadAndOpenGallery());
  ASSERT_TRUE(Near(kRed)(Shown(BigCanvasCell(kStrokeMiddle, kStrokeRow))));
  ASSERT_TRUE(Click(kGalleryDelete));
  ASSERT_TRUE(WaitForPixel(BigCanvasCell(kStrokeMiddle, kStrokeRow), Near(kWhite))) << "the gallery still shows the painting";
  ASSERT_TRUE(WaitFor([&] { return StoredPainting() < 0; }, kScreenTimeout)) << "the painting is still in IndexedDB";
  EXPECT_EQ(PaintingInBin(), kBigPaintingBytes) << "the painting is not kept in the bin";

  ASSERT_NO_FATAL_FAILURE(ReloadAndOpenGallery());
  EXPECT_TRUE(Near(kWhite)(Shown(BigCanvasCell(kStrokeMiddle, kStrokeRow)))) << std::hex << Shown(BigCanvasCell(kStrokeMiddle, kStrokeRow));
  EXPECT_EQ(StoredPainting(), -1);
}

// With the browser's leave to keep it (an installed app has it), the page asks for persistent
// storage at the child's first gesture, and not before.
TEST_F(WebPage, TheFirstGestureAsksForPersistentStorage) {
  ASSERT_TRUE(browser_.Grant(Origin(), "durableStorage")) << browser_.Failure();
  ASSERT_NO_FATAL_FAILURE(ReloadWith(kNotePersistRequests));
  ASSERT_EQ(browser_.Evaluate("window.tafuPersistRequests"), "0");
  ASSERT_TRUE(Click(kMenuSky));
  EXPECT_TRUE(WaitFor([&] { return browser_.Evaluate("window.tafuPersistRequests") == "1"; }, kScreenTimeout))
      << "no request for persistent storage after the first click";
  EXPECT_EQ(browser_.Evaluate("navigator.storage.persisted()"), "true");
}

// A save the browser refuses to store (its quota used up) is not kept, and the game plays on.
TEST_F(WebPage, ASaveTheBrowserRefusesLeavesTheGamePlaying) {
  ASSERT_NE(browser_.Call("Storage.overrideQuotaForOrigin", "{\"origin\":" + JsonQuote(Origin()) + ",\"quotaSize\":1}"), "")
      << browser_.Failure();
  ASSERT_NO_FATAL_FAILURE(OpenBigCanvas());
  ASSERT_TRUE(Click(kSaveMiddle));
  const Screenshot studio = browser_.Capture();
  ASSERT_TRUE(Click(kStudioExit));
  EXPECT_TRUE(WaitForNewScreen(studio)) << "the studio no longer answers after the refused save";
  EXPECT_EQ(StoredPainting(), -1);
}

// A grown-up takes the paintings home from grown-ups.html: the saved painting as the very PNG
// the desktop's export makes of it, all of them in one sound ZIP file; and one deleted in the
// gallery shows in the bin there as that picture (a file cut short, as none), and brought
// back shows in the game's gallery again.
TEST_F(WebPage, TheGrownUpsPageGivesThePaintingsAndBringsBackADeletedOne) {
  ASSERT_EQ(tafutest::EndToEndUnavailable(), "");
  ASSERT_NO_FATAL_FAILURE(PaintAndSave());
  ASSERT_NO_FATAL_FAILURE(OpenGrownUpsPage());
  const std::vector<uint8_t> png = browser_.EvaluateBytes("fetch(document.querySelector('#paintings a').href).then((r) => r.blob())");
  const std::vector<uint8_t> stored = browser_.EvaluateBytes("FS.readFile('/tafu/draw/big/1.tga')");
  GameLauncher game;
  fs::create_directories(game.File("draw/big"));
  WriteFile(game.File("draw/big/1.tga"), std::string(stored.begin(), stored.end()));
  const std::string exported = game.File("exported");
  ASSERT_TRUE(game.Launch({.arguments = {"--export-paintings", exported},
                           .unset = {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER", "SDL_AUDIODRIVER"}}));
  ASSERT_EQ(game.Wait(10s), 0) << game.Errors();
  EXPECT_EQ(DecodedPng(png), DecodedPng(ReadFile(exported + "/big-1.png"))) << "the page's PNG is not the desktop's";

  const std::vector<uint8_t> zip = browser_.EvaluateBytes("fetch(document.getElementById('zip').href).then((r) => r.blob())");
  WriteFile(game.File("paintings.zip"), std::string(zip.begin(), zip.end()));
  EXPECT_EQ(std::system(("unzip -tq '" + game.File("paintings.zip") + "' >/dev/null").c_str()), 0);

  ASSERT_TRUE(browser_.Navigate(server_.Url())) << browser_.Failure();
  ASSERT_TRUE(WaitForMenu());
  ASSERT_NO_FATAL_FAILURE(ReloadAndOpenGallery());
  ASSERT_TRUE(Click(kGalleryDelete));
  ASSERT_TRUE(WaitFor([&] { return PaintingInBin() == kBigPaintingBytes; }, kScreenTimeout)) << "nothing in the bin";
  ASSERT_NO_FATAL_FAILURE(OpenGrownUpsPage());
  ASSERT_EQ(browser_.Evaluate("document.querySelectorAll('#paintings li').length"), "0");
  EXPECT_EQ(DecodedPng(browser_.EvaluateBytes("fetch(document.querySelector('#bin img').src).then((r) => r.blob())")),
            DecodedPng(png)) << "the bin does not show the painting as the export does";
  EXPECT_EQ(browser_.Evaluate(kBinWithTruncatedCopy), "\"true,false\"") << browser_.Failure();
  ASSERT_EQ(browser_.Evaluate("document.body.dataset.ready = 'again'; document.querySelector('#bin button').click()"), "");
  ASSERT_TRUE(WaitFor([&] { return browser_.Evaluate("document.body.dataset.ready") == "\"yes\""; }, kScreenTimeout));
  EXPECT_EQ(browser_.Evaluate("document.querySelectorAll('#paintings li').length"), "1");
  ASSERT_TRUE(browser_.Navigate(server_.Url())) << browser_.Failure();
  ASSERT_TRUE(WaitForMenu());
  ASSERT_NO_FATAL_FAILURE(ReloadAndOpenGallery());
  EXPECT_TRUE(Near(kRed)(Shown(BigCanvasCell(kStrokeMiddle, kStrokeRow)))) << "the painting brought back is not in the gallery";
}

TEST_F(WebPage, AFirstClickOnTheMenuStartsTheSound) {
  ASSERT_NO_FATAL_FAILURE(ReloadNotingSound());
  const Screenshot menu = browser_.Capture();
  ASSERT_TRUE(browser_.MoveTo(kPaint.x, kPaint.y));
  EXPECT_TRUE(WaitFor([&] { return browser_.Evaluate("window.tafuSoundContexts.length") == "1"; }, kSoundTimeout))
      << "the pointer moved before the click readies no sound for it";
  ASSERT_TRUE(Click(kPaint));
  EXPECT_TRUE(WaitForNewScreen(menu)) << "the click on the paint button chose nothing";
  EXPECT_TRUE(WaitForSound()) << "no sound plays after the first click; " << browser_.Failure();
  EXPECT_EQ(browser_.Evaluate("Math.round(tafuSoundContexts[0].baseLatency * tafuSoundContexts[0].sampleRate)"), "1024")
      << "the page's sound is taken more often than the game mixes it";
}

// The page rests while the menu stands still, and the game feeds its music between frames:
// every half is refilled before it comes round again.
TEST_F(WebPage, TheMusicPlaysOnWhileTheMenuRests) {
  ASSERT_NO_FATAL_FAILURE(ReloadNotingSound());
  ASSERT_TRUE(Click({kMenuSky.x, kMenuSky.y}));
  ASSERT_TRUE(WaitForSound()) << browser_.Failure();
  const nlohmann::json heard = nlohmann::json::parse(browser_.Evaluate(kCountReplayedStretches), nullptr, false);
  ASSERT_TRUE(heard.is_array() && heard.size() == 2) << browser_.Failure();
  EXPECT_GT(heard[0].get<int>(), 1000) << "too little music heard to tell";
  EXPECT_EQ(heard[1].get<int>(), 0) << "halves of the music played twice";
}

// Round the menu, the canvas choice and the big studio and back, 17 times, with quick clicks
// and with quick taps: each of the 51 presses of each is one click, none lost.
TEST_F(WebPage, EveryQuickClickAndTapChooses) {
  ASSERT_TRUE(WaitForSettledScreen()) << browser_.Failure();
  for (const auto& [way, press] : {std::pair{"click", &Browser::QuickClick}, {"tap", &Browser::QuickTap}}) {
    for (int round = 0; round < 17; ++round) {
      for (const Spot spot : {kPaint, kBig, kStudioExit}) {
        const Screenshot before = shot_;
        ASSERT_TRUE((browser_.*press)(spot.x, spot.y)) << browser_.Failure();
        ASSERT_TRUE(WaitForNewScreen(before)) << "a quick " << way << " at " << spot.x << "," << spot.y
                                              << " was lost in round " << round;
      }
    }
  }
}

// A child's resting hand: a second finger that touches and slides while the first is down
// leaves the pointer where the first finger is, so lifting it there still chooses.
TEST_F(WebPage, ASecondFingerDoesNotTakeThePointer) {
  const Screenshot menu = browser_.Capture();
  ASSERT_TRUE(browser_.TapWithSecondFinger(kPaint.x, kPaint.y, kMenuSky.x, kMenuSky.y)) << browser_.Failure();
  EXPECT_TRUE(WaitForNewScreen(menu)) << "the paint button was not chosen";
}

TEST_F(WebPage, AFirstTapChoosesAsAClickDoesAndStartsTheSound) {
  ASSERT_NO_FATAL_FAILURE(ReloadNotingSound());
  const Screenshot menu = browser_.Capture();
  ASSERT_TRUE(browser_.Tap(kPaint.x, kPaint.y));
  EXPECT_TRUE(WaitForNewScreen(menu)) << "the tap on the paint button chose nothing";
  EXPECT_TRUE(WaitForSound()) << "no sound plays after the first tap; " << browser_.Failure();
}

}  // namespace
