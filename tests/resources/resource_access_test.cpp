#include <gtest/gtest.h>

#include <SDL/SDL_mixer.h>
#include <cstdio>
#include <sys/stat.h>
#include <unistd.h>

#include "app/fatal.h"
#include "app/services.h"
#include "audio/audio_device.h"
#include "audio/music_player.h"
#include "audio/sound.h"
#include "render/mesh.h"
#include "render/texture.h"
#include "resources/resource_access.h"
#include "resources/resource_manager.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/ogg_writer.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_files.h"

namespace {
// The game's services for resources, working in a scratch directory with a res/ folder.
class ResourceAccessTest : public ::testing::Test {
protected:
    ResourceAccessTest() : cwd_(dir_.path()) {}
    static void SetUpTestSuite() { audioOpen_ = ensureSdl() && openAudio(); }
    static void TearDownTestSuite() {
        if (audioOpen_) {
            closeAudio();
        }
    }
    void SetUp() override {
        REQUIRE_GL_WINDOW(32, 32);
        ASSERT_TRUE(audioOpen_);
        ASSERT_EQ(mkdir("res", 0755), 0);
        theMusicPlayer = new MusicPlayer();
        theResourceManager = new ResourceManager();
        resetMusicSelection();
        clearMessage();
    }
    void TearDown() override {
        delete theResourceManager;
        theResourceManager = nullptr;
        delete theMusicPlayer;
        theMusicPlayer = nullptr;
        resetMusicSelection();
        clearMessage();
    }

    static void clearMessage() {
        messageText.clear();
        gameMode = kModePlay;
    }
    static bool reported(const std::string& detail) {
        return gameMode == kModeMessage &&
               messageText.find("\n" + detail + "\n\ntry:\n") != std::string::npos;
    }
    static void writeImage(int number) {
        PngImage image;
        image.width = 1;
        image.height = 1;
        image.samples = {10, 20, 30};
        ASSERT_TRUE(writeScrambledFile("res/" + std::to_string(number) + ".dat", encodePng(image)));
    }
    static void writeMusic(int number) {
        ASSERT_TRUE(writeScrambledFile("res/" + std::to_string(number) + ".dat",
                                       encodeOggVorbis(sineTone(440, 0.3, 0.5, 22050), 22050)));
    }
    static void writeSample(int number) {
        ASSERT_TRUE(writeScrambledFile("res/" + std::to_string(number) + ".dat",
                                       encodeWav(sineTone(440, 0.3, 1.0, 22050), 22050)));
    }

    static bool audioOpen_;
    ScratchDir dir_;
    WorkingDirectory cwd_;
};
bool ResourceAccessTest::audioOpen_ = false;
} // namespace

TEST_F(ResourceAccessTest, NegativeNumbersGiveTheEmptyObjectSilently) {
    Texture* empty = textureByNumber(-1);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(textureByNumber(-1), empty);
    EXPECT_EQ(empty->name(), 0u);
    EXPECT_NE(meshByNumber(-3), nullptr);
    EXPECT_NE(soundByNumber(-3), nullptr);
    playSoundOnce(-1, 1.0f);
    selectMusic(-1);
    EXPECT_TRUE(messageText.empty());
    EXPECT_EQ(gameMode, kModePlay);
}

TEST_F(ResourceAccessTest, MissingFilesAreReportedByNameOnce) {
    writeImage(4);
    Texture* texture = textureByNumber(4);
    EXPECT_NE(texture->name(), 0u);
    EXPECT_TRUE(messageText.empty());

    Texture* missing = textureByNumber(3);
    ASSERT_NE(missing, nullptr);
    EXPECT_EQ(missing->name(), 0u);
    EXPECT_TRUE(reported("could not load resource file:\n3.dat")) << messageText;
    EXPECT_EQ(messageText.rfind("error\n-----\n", 0), 0u);
    clearMessage();
    EXPECT_EQ(textureByNumber(3), missing);
    EXPECT_TRUE(messageText.empty());

    EXPECT_NE(meshByNumber(5), nullptr);
    EXPECT_TRUE(reported("5.dat"));
    clearMessage();
    EXPECT_NE(soundByNumber(6), nullptr);
    EXPECT_TRUE(reported("6.dat"));
    clearMessage();
    selectMusic(7);
    EXPECT_TRUE(reported("could not load resource file:\nres/7.dat"));
    clearMessage();
    selectMusic(7); // the same number is not tried again
    EXPECT_TRUE(messageText.empty());
}

TEST_F(ResourceAccessTest, DamagedAndHostileFilesAreLoadFailuresNamingTheFile) {
    ASSERT_EQ(mkdir("res/10.dat", 0755), 0);
    ASSERT_TRUE(writeWholeFile("res/11.dat", {}));
    ASSERT_TRUE(writeWholeFile("res/12.dat", {1}));
    ASSERT_EQ(truncate("res/12.dat", 4LL * 1024 * 1024 * 1024), 0);
    ASSERT_TRUE(
        writeScrambledFile("res/13.dat", {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'}));
    PngImage image;
    image.width = 8;
    image.height = 8;
    image.samples.assign(8 * 8 * 3, 77);
    const std::vector<uint8_t> png = encodePng(image);
    ASSERT_TRUE(
        writeScrambledFile("res/14.dat", std::vector<uint8_t>(png.begin(), png.begin() + png.size() - 20)));
    for (int number = 10; number <= 14; ++number) {
        clearMessage();
        Texture* texture = textureByNumber(number);
        ASSERT_NE(texture, nullptr);
        EXPECT_EQ(texture->name(), 0u);
        EXPECT_TRUE(reported("could not load resource file:\n" + std::to_string(number) + ".dat")) << number;
    }
    // Music in a file that is not music, and music scrambled with another key.
    std::vector<uint8_t> ogg = encodeOggVorbis(sineTone(440, 0.3, 0.5, 22050), 22050);
    for (uint8_t& byte : ogg) {
        byte ^= 0x5A;
    }
    ASSERT_TRUE(writeWholeFile("res/15.dat", ogg));
    for (int number : {10, 12, 13, 15}) {
        clearMessage();
        selectMusic(number);
        EXPECT_TRUE(reported("res/" + std::to_string(number) + ".dat")) << number;
        EXPECT_FALSE(theMusicPlayer->hasMusic());
    }
}

TEST_F(ResourceAccessTest, MusicChangesOnlyOnANewNumber) {
    writeMusic(5);
    selectMusic(5);
    EXPECT_TRUE(messageText.empty()) << messageText;
    EXPECT_EQ(currentMusicNumber(), 5);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(Mix_PausedMusic(), 0);
    // Selecting it again does not touch the file.
    ASSERT_EQ(remove("res/5.dat"), 0);
    selectMusic(5);
    EXPECT_TRUE(messageText.empty());
    EXPECT_EQ(Mix_PlayingMusic(), 1);

    selectMusic(-1);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_FALSE(theMusicPlayer->hasMusic());
    writeMusic(5);
    selectMusic(5);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    resetMusicSelection();
    EXPECT_EQ(currentMusicNumber(), -1);
}

TEST_F(ResourceAccessTest, OneShotSoundsPlayAndGiveTheirReferenceBack) {
    writeSample(8);
    playSoundOnce(8, 0.5f);
    EXPECT_TRUE(messageText.empty());
    EXPECT_EQ(Mix_Playing(-1), 1);
    EXPECT_EQ(theResourceManager->soundCount("res/8.dat"), 0);
    playSoundOnce(8, 0.5f);
    EXPECT_EQ(Mix_Playing(-1), 2);
    EXPECT_EQ(theResourceManager->soundCount("res/8.dat"), 0);
    Mix_HaltChannel(-1);

    playSoundOnce(9, 1.0f);
    EXPECT_TRUE(reported("9.dat"));
    EXPECT_EQ(Mix_Playing(-1), 0);

    // The manager's end halts every channel, since a cached sound holds a sample.
    playSoundOnce(8, 0.5f);
    EXPECT_EQ(Mix_Playing(-1), 1);
    delete theResourceManager;
    theResourceManager = nullptr;
    EXPECT_EQ(Mix_Playing(-1), 0);
}

TEST_F(ResourceAccessTest, SharingCountsKnownObjectsAndReportsStrangers) {
    writeImage(2);
    Texture* texture = textureByNumber(2);
    EXPECT_EQ(shareTexture(texture), texture);
    EXPECT_EQ(theResourceManager->textureCount("res/2.dat"), 2);
    EXPECT_TRUE(messageText.empty());

    Texture strangerTexture;
    EXPECT_EQ(shareTexture(&strangerTexture), textureByNumber(-1));
    EXPECT_TRUE(reported("could not find resource object:\ntexture")) << messageText;
    EXPECT_EQ(messageText.find("could not load"), std::string::npos);
    clearMessage();
    Mesh strangerMesh;
    shareMesh(&strangerMesh);
    EXPECT_TRUE(reported("could not find resource object:\nmesh"));
    clearMessage();
    Sound strangerSound;
    shareSound(&strangerSound);
    EXPECT_TRUE(reported("could not find resource object:\nsound"));
    clearMessage();
    Sound* sound = soundByNumber(-1);
    EXPECT_EQ(shareSound(sound), sound);
    EXPECT_TRUE(messageText.empty());
}

TEST_F(ResourceAccessTest, WithoutTheServicesNothingLoadsAndNothingCrashes) {
    writeImage(2);
    writeMusic(3);
    delete theResourceManager;
    theResourceManager = nullptr;
    delete theMusicPlayer;
    theMusicPlayer = nullptr;

    Texture* texture = textureByNumber(2);
    ASSERT_NE(texture, nullptr);
    EXPECT_EQ(texture->name(), 0u);
    EXPECT_TRUE(reported("2.dat"));
    clearMessage();
    EXPECT_NE(textureByNumber(-1), nullptr);
    EXPECT_NE(meshByNumber(-1), nullptr);
    EXPECT_NE(soundByNumber(-1), nullptr);
    EXPECT_TRUE(messageText.empty());
    selectMusic(3);
    EXPECT_TRUE(reported("res/3.dat"));
    clearMessage();
    selectMusic(-1);
    playSoundOnce(-1, 1.0f);
    EXPECT_TRUE(messageText.empty());
    EXPECT_EQ(shareTexture(texture), texture);
    EXPECT_TRUE(reported("could not find resource object:\ntexture"));
}
