// Composition of the fatal messages.
#include "app/fatal.h"

#include "app/services.h"

std::string messageText;

namespace {
// Where a stuck player can turn to; the project's own address, nobody else's.
const char* const kContactAddress = "tavok.example.org";
} // namespace

void reportFatal(int code, const std::string& detail) {
    std::string text = "error\n-----\n";
    switch (code) {
    case kFatalResource:
        text += "could not load resource file:\n" + detail + "\n\ntry:\nreinstalling\n";
        break;
    case kFatalAudio:
        text += "could not init:\naudio\n\ntry:\nfixing/changing audio setup\n";
        break;
    case kFatalAspectRatio:
        text += "invalid aspect ratio\n\ntry:\nusing a conventional resolution\n";
        break;
    default:
        text += detail + "\n\ntry:\n";
        break;
    }
    text += "meeting system requirements\nnew program version\ncontacting ";
    text += kContactAddress;
    text += "\n\npress esc key";
    messageText = text;
    gameMode = kModeMessage;
}
