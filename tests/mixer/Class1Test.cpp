#include "mixer/Class1.h"
#include "fixtures/FakeCard.h"

#include <gtest/gtest.h>

using namespace campanor;
using campanor::test::FakeCard;

TEST(Class1, ReadsBoundsAndFindsTheSixLines) {
    FakeCard card;
    QStringList messages;
    Class1 mixer([&](const QString& m) { messages << m; });
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(mixer.lastResult(), 0);
    EXPECT_EQ(mixer.MinWaveVolume(), -20);
    EXPECT_EQ(mixer.MaxWaveVolume(), 100);
    EXPECT_EQ(mixer.MaxLineInVolume(), 31);
    EXPECT_EQ(mixer.MaxMidVolume(), 31);
    for (int bit : {1, 2, 4, 8, 16, 32}) {
        EXPECT_TRUE(mixer.volumeFound(bit)) << bit;
        EXPECT_TRUE(mixer.muteFound(bit)) << bit;
    }
    EXPECT_EQ(mixer.WaveVolume(), 50);
    EXPECT_EQ(mixer.CD_Volume(), 20);
}

TEST(Class1, VolumesAreClampedToTheLineBounds) {
    FakeCard card;
    {
        Class1 mixer;
        mixer.setWaveVolume(-500);
        EXPECT_EQ(mixer.WaveVolume(), -20);
        mixer.setLineInVolume(1000);
        EXPECT_EQ(mixer.LineInVolume(), 31);
        mixer.setMicroVolume(7);
    }
    EXPECT_EQ(card.value("Master Playback Volume"), -20);
    EXPECT_EQ(card.value("Line Playback Volume"), 31);
    EXPECT_EQ(card.value("Mic Playback Volume"), 7);
}

TEST(Class1, MuteIsThePlaybackSwitchTurnedOff) {
    FakeCard card;
    Class1 mixer;
    EXPECT_EQ(mixer.LineInMute(), 0);
    mixer.setLineInMute(1);
    EXPECT_NE(mixer.LineInMute(), 0);
    EXPECT_EQ(card.value("Line Playback Switch"), 0);
    mixer.setMicroMute(5); // any non-zero value mutes
    EXPECT_EQ(card.value("Mic Playback Switch"), 0);
    mixer.setMicroMute(0);
    EXPECT_EQ(card.value("Mic Playback Switch"), 1);
    EXPECT_EQ(mixer.MicroMute(), 0);
}

TEST(Class1, AFreshObjectSeesWhatWasSetOutside) {
    FakeCard card;
    card.set("CD Playback Switch", 0);
    Class1 mixer;
    EXPECT_EQ(mixer.CD_Mute(), 1);
}

TEST(Class1, LineInputFallsBackToTheAuxiliaryInput) {
    FakeCard card(FakeCard::Variant::AuxInsteadOfLine);
    Class1 mixer;
    EXPECT_TRUE(mixer.volumeFound(Class1::LineIn));
    mixer.setLineInMute(1);
    EXPECT_EQ(card.value("Aux Playback Switch"), 0);
    EXPECT_FALSE(card.has("Line Playback Switch"));
}

TEST(Class1, AMissingLineReadsZeroAndIgnoresWrites) {
    FakeCard card(FakeCard::Variant::NoMic);
    Class1 mixer;
    EXPECT_FALSE(mixer.volumeFound(Class1::Microphone));
    EXPECT_FALSE(mixer.muteFound(Class1::Microphone));
    mixer.setMicroMute(1);
    mixer.setMicroVolume(10);
    EXPECT_EQ(mixer.MicroMute(), 0);
    EXPECT_EQ(mixer.MicroVolume(), 0);
    EXPECT_EQ(mixer.MaxMicVolume(), 0);
    EXPECT_FALSE(card.has("Mic Playback Switch"));
}

TEST(Class1, NoDeviceSaysNoMixerFoundOnceAndReadsZero) {
    qputenv("CAMPANOR_MIXER_DEVICE", "hw:7");
    QStringList messages;
    {
        Class1 mixer([&](const QString& m) { messages << m; });
        EXPECT_EQ(mixer.WaveVolume(), 0);
        EXPECT_EQ(mixer.LineInMute(), 0);
        mixer.setLineInMute(1);
        EXPECT_EQ(mixer.MaxWaveVolume(), 0);
        EXPECT_FALSE(mixer.volumeFound(Class1::Master));
        EXPECT_LT(mixer.lastResult(), 0);
    }
    EXPECT_EQ(messages, QStringList{QStringLiteral("找不到声卡混音器！")});
    qunsetenv("CAMPANOR_MIXER_DEVICE");
}
