#include <gtest/gtest.h>

#include "app/fatal.h"
#include "app/services.h"

namespace {
const std::string kTail =
    "meeting system requirements\nnew program version\ncontacting tavok.example.org\n\npress esc key";

class FatalTest : public ::testing::Test {
protected:
    void TearDown() override {
        messageText.clear();
        gameMode = kModePlay;
    }
};
} // namespace

TEST_F(FatalTest, EachCodeComposesItsOwnText) {
    reportFatal(kFatalResource, "res/1010.dat");
    EXPECT_EQ(gameMode, kModeMessage);
    EXPECT_EQ(messageText,
              "error\n-----\ncould not load resource file:\nres/1010.dat\n\ntry:\nreinstalling\n" + kTail);
    reportFatal(kFatalAudio, "ignored");
    EXPECT_EQ(messageText,
              "error\n-----\ncould not init:\naudio\n\ntry:\nfixing/changing audio setup\n" + kTail);
    reportFatal(kFatalAspectRatio, "ignored");
    EXPECT_EQ(messageText,
              "error\n-----\ninvalid aspect ratio\n\ntry:\nusing a conventional resolution\n" + kTail);
    reportFatal(kFatalDescribed, "can not save to desktop");
    EXPECT_EQ(messageText, "error\n-----\ncan not save to desktop\n\ntry:\n" + kTail);
}

TEST_F(FatalTest, UnknownCodesReadAsDescribedAndALaterReportReplacesTheEarlier) {
    reportFatal(kFatalAudio, "");
    reportFatal(-7, "missing environment variable:\nhome");
    EXPECT_EQ(messageText, "error\n-----\nmissing environment variable:\nhome\n\ntry:\n" + kTail);
    reportFatal(4, "x");
    EXPECT_EQ(messageText, "error\n-----\nx\n\ntry:\n" + kTail);
}
