// The one way the engine tells the user something went wrong: a message box.
#pragma once

#include <string>

using KMessageHandler = void (*)(const std::string& caption, const std::string& text);

// Shows caption and text with an OK button (and writes them to standard error).
void ShowMessage(const std::string& caption, const std::string& text);
// Replaces the message box, for tests that must never block; returns the previous
// handler. nullptr brings the real message box back.
KMessageHandler SetMessageHandler(KMessageHandler handler);
