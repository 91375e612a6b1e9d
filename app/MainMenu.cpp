#include "app/Screens.h"
#include "app/Shell.h"

ScreenCode RunMainMenu() {
  while (!MainScreen->IsQuitRequested()) {
    MainScreen->SetView(0, 0, 0, 1.0f, true);
    MainScreen->Flip();
  }
  return kCodeQuit;
}
