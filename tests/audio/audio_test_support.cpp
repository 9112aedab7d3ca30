#include "tests/audio/audio_test_support.h"

#include <SDL/SDL_mixer.h>

#include "audio/audio_device.h"
#include "tests/support/gl_test_context.h"
#include "tests/support/ogg_writer.h"

bool AudioTest::audioOpen_ = false;

void AudioTest::SetUpTestSuite() {
    audioOpen_ = ensureSdl() && openAudio();
}

void AudioTest::TearDownTestSuite() {
    if (audioOpen_) {
        closeAudio();
        audioOpen_ = false;
    }
}

void AudioTest::SetUp() {
    ASSERT_TRUE(audioOpen_) << "the dummy audio driver must open: " << Mix_GetError();
}

std::vector<int16_t> threeStepMusic() {
    std::vector<int16_t> samples(22050, 0);
    const std::vector<int16_t> quiet = sineTone(440, 0.15, 1.0, 22050);
    const std::vector<int16_t> loud = sineTone(440, 0.7, 1.0, 22050);
    samples.insert(samples.end(), quiet.begin(), quiet.end());
    samples.insert(samples.end(), loud.begin(), loud.end());
    return samples;
}
