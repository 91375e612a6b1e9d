#pragma once

// Where this build keeps the game, its files and the sources. The paths are compiled into one
// generated file of the build tree, so a test's own object is the same in every clone and the
// compiler cache finds it.
namespace tafutest {

const char* GameExe();         // build/tafu
const char* RuntimeDir();      // the folder with img/, snd/, game/ and setup.ini beside the game
const char* SourceDir();       // the clone
const char* BuildDir();        // the build tree (cmake --install, cpack)
const char* WebSite();         // the web page that ./web.sh --build makes
const char* PixelArtTool();    // the tool that draws the pictures
const char* SoundSynthTool();  // the tool that makes the sounds

}  // namespace tafutest
