// The tuner's microphone on the real main window, with a listening of the
// test's own behind the switch: the display, the needle and "gestimmt", the
// string it compares with, pausing while a tone sounds, the input menu and
// the lines for a missing or failing microphone.

#include "listening/guitarstrings.h"
#include "plan/liststore.h"
#include "platform/core/cp1252.h"
#include "platform/core/inifile.h"
#include "platform/core/pathresolver.h"
#include "sprachbank/sprachbank.h"
#include "tests/panels/panelfixture.h"
#include "tests/support/testsupport.h"
#include "tools/tunerdisplay.h"

#include <cmath>
#include <gtest/gtest.h>

namespace paneltest {
namespace {

using listening::TunerListening;
using listening::TuningReading;
using Status = TunerListening::Status;
using tools::TunerDisplayState;
using tools::TunerPanel;

QString Caption(int number) {
    return platform::FromAnsi(DLL_GetCaption(number));
}

// A microphone under the test's control.
class FakeListening : public TunerListening {
public:
    std::vector<listening::InputDevice> inputs{{"builtin", "Eingebautes Mikrofon"},
                                               {"usb", "USB-Mikrofon"}};
    std::string serverDefault = "builtin";
    Status running = Status::Listening; // the state while started and not paused
    TuningReading reading;
    bool started = false, paused = false;
    int string = -99;
    std::vector<std::string> asked; // every Start's argument

    std::vector<listening::InputDevice> Inputs() override { return inputs; }
    std::string Start(const std::string& inputId) override {
        asked.push_back(inputId);
        started = true;
        for (const auto& input : inputs)
            if (input.id == inputId) return inputId;
        return inputs.empty() ? std::string() : serverDefault;
    }
    void Stop() override { started = false; }
    void SetPaused(bool value) override { paused = value; }
    void SetString(int value) override { string = value; }
    Status CurrentStatus() const override {
        if (!started) return Status::Off;
        if (inputs.empty()) return Status::NoMicrophone;
        return paused && running == Status::Listening ? Status::Paused : running;
    }
    TuningReading Latest() const override { return reading; }

    void Hear(int guitarString, double cents) {
        reading.heard = true;
        reading.string = guitarString;
        reading.cents = cents;
        reading.frequency = listening::OpenStringFrequency(guitarString) * std::pow(2.0, cents / 1200.0);
    }
};

class TunerListeningTest : public PanelTest {
protected:
    TunerPanel& OpenTuner() {
        CreatePanelWindows();
        form_->BStimmClick(nullptr);
        LetSoundsEnd();
        TunerPanel& tuner = *form_->Tools->Tuner;
        auto fake = std::make_unique<FakeListening>();
        fake_ = fake.get();
        tuner.UseListening(std::move(fake));
        return tuner;
    }
    // The colour of the display's pixel (x, y).
    static platform::TColor DisplayPixel(TunerPanel& tuner, int x, int y) {
        return tuner.ImgHoeren->Canvas()->Pixel(x, y);
    }
    FakeListening* fake_ = nullptr;
    // A data folder of the test's own (the chosen input is kept there).
    testsupport::TempFolder data_;
    testsupport::ScopedEnv dataHome_{"XDG_DATA_HOME", data_.Path()};
};

TEST_F(TunerListeningTest, TheSwitchPutsTheDisplayOverTheFretboardAndListensToTheDefaultInput) {
    TunerPanel& tuner = OpenTuner();
    EXPECT_FALSE(tuner.ImgHoeren->Visible());
    EXPECT_EQ(tuner.LMikrofon->Caption(), Caption(200));

    tuner.ImgMikrofon->Click();
    EXPECT_TRUE(tuner.MikrofonOn);
    EXPECT_TRUE(fake_->started);
    EXPECT_EQ(fake_->asked, std::vector<std::string>{""}); // nothing chosen yet: the server's default
    EXPECT_EQ(tuner.InputId, "builtin");
    EXPECT_EQ(fake_->string, listening::kAutoString);
    EXPECT_TRUE(tuner.ImgHoeren->Visible());
    EXPECT_FALSE(tuner.ImgTuner->Visible());
    EXPECT_TRUE(tuner.LAutomatisch->Visible());
    EXPECT_EQ(tuner.LAutomatisch->Font()->Color(), platform::clWhite);
    EXPECT_TRUE(tuner.LEingang->Caption().contains("Eingebautes Mikrofon"));
    EXPECT_TRUE(tuner.TimerHoeren->Enabled());
    EXPECT_EQ(tuner.DisplayState().line, Caption(205)); // pluck a string

    tuner.LMikrofon->Click();
    EXPECT_FALSE(tuner.MikrofonOn);
    EXPECT_FALSE(fake_->started);
    EXPECT_TRUE(tuner.ImgTuner->Visible());
    EXPECT_FALSE(tuner.ImgHoeren->Visible());
    EXPECT_FALSE(tuner.TimerHoeren->Enabled());
}

TEST_F(TunerListeningTest, TheNeedleStandsAtTheCentsAndGestimmtWithinThreeCents) {
    TunerPanel& tuner = OpenTuner();
    tuner.SwitchMikrofon(true);
    const int width = tuner.ImgHoeren->Width();
    const int needleRow = 70;

    fake_->Hear(listening::StringA, 2.4);
    tuner.TimerHoerenTimer();
    TunerDisplayState state = tuner.DisplayState();
    EXPECT_EQ(state.noteName, "A2");
    EXPECT_EQ(state.line, Caption(202));
    EXPECT_EQ(state.mood, TunerDisplayState::InTune);
    EXPECT_EQ(state.frequency, "110,2 Hz");
    EXPECT_EQ(DisplayPixel(tuner, tools::NeedleColumn(2.4, width), needleRow), tools::kDisplayInTune);

    fake_->Hear(listening::StringA, 3.6);
    tuner.TimerHoerenTimer();
    state = tuner.DisplayState();
    EXPECT_EQ(state.mood, TunerDisplayState::OffPitch);
    EXPECT_TRUE(state.line.startsWith(Caption(204))) << state.line.toStdString(); // too high
    EXPECT_TRUE(state.line.contains("+4 cent")) << state.line.toStdString();
    const int column = tools::NeedleColumn(3.6, width);
    EXPECT_EQ(DisplayPixel(tuner, column, needleRow), tools::kDisplayOffPitch);
    EXPECT_NE(DisplayPixel(tuner, tools::NeedleColumn(-20, width), needleRow), tools::kDisplayOffPitch);

    // Far too low: the needle waits at the left end of the scale.
    fake_->Hear(listening::LowE, -80);
    tuner.TimerHoerenTimer();
    state = tuner.DisplayState();
    EXPECT_EQ(state.noteName, "E2");
    EXPECT_TRUE(state.line.startsWith(Caption(203))) << state.line.toStdString();
    EXPECT_EQ(tools::NeedleColumn(-80, width), tools::kScaleLeft);
    EXPECT_EQ(tools::NeedleColumn(50, width), width - tools::kScaleLeft);
    EXPECT_EQ(tools::NeedleColumn(0, width), width / 2);
    EXPECT_EQ(DisplayPixel(tuner, tools::kScaleLeft, needleRow), tools::kDisplayOffPitch);

    // The B string in the German convention: H.
    fake_->Hear(listening::StringB, 0);
    tuner.TimerHoerenTimer();
    EXPECT_EQ(tuner.DisplayState().noteName, "H3");
}

TEST_F(TunerListeningTest, TheEnglishEditionNamesTheBStringB) {
    testsupport::ScopedEnv english("SPRACHBANK_LANGUAGE", "1");
    CreatePanelWindows();
    platform::TPanel panel(form_);
    TunerPanel tuner(&panel, nullptr, *form_->Course);
    tuner.BuildTunerPanel(1);
    auto fake = std::make_unique<FakeListening>();
    FakeListening* listening = fake.get();
    tuner.UseListening(std::move(fake));
    tuner.SwitchMikrofon(true);
    EXPECT_EQ(tuner.LMikrofon->Caption(), "Microphone");
    listening->Hear(listening::StringB, -1);
    const TunerDisplayState state = tuner.DisplayState();
    EXPECT_EQ(state.noteName, "B3");
    EXPECT_EQ(state.line, "in tune");
    EXPECT_EQ(state.frequency, "246.8 Hz");
    EXPECT_EQ(tuner.LAutomatisch->Caption(), "automatic");
}

// A string label chooses the string to compare with and plays its tone;
// while the tone sounds the tuner does not listen (the microphone would
// hear the tone), and listens again once it is switched off.
TEST_F(TunerListeningTest, AStringLabelChoosesTheStringAndItsToneSilencesListening) {
    TunerPanel& tuner = OpenTuner();
    tuner.SwitchMikrofon(true);
    sound_.events.clear();
    tuner.StringLabels[TunerPanel::StringA]->Click();
    EXPECT_EQ(sound_.events.back(), Played("Sounds\\SaiteA.wav", true)); // the tone still plays
    EXPECT_EQ(fake_->string, listening::StringA);
    EXPECT_EQ(tuner.ListeningString, listening::StringA);
    EXPECT_TRUE(fake_->paused);
    EXPECT_EQ(tuner.DisplayState().line, Caption(210));
    EXPECT_EQ(tuner.DisplayState().noteName, "A2"); // the chosen string, before anything is heard
    EXPECT_NE(tuner.LAutomatisch->Font()->Color(), platform::clWhite);

    tuner.TimerHoerenTimer();
    EXPECT_TRUE(fake_->paused) << "the tone loops on";
    tuner.LAusschaltenClick();
    tuner.TimerHoerenTimer();
    EXPECT_FALSE(fake_->paused);
    EXPECT_EQ(tuner.DisplayState().line, Caption(205));

    // The chord is no string: the choice stays.
    tuner.StringLabels[TunerPanel::Chord]->Click();
    EXPECT_EQ(fake_->string, listening::StringA);
    tuner.LAusschaltenClick();
    tuner.ImgTunerMouseDown(1); // the fretboard is hidden, but its handler maps as before
    EXPECT_EQ(fake_->string, listening::HighE);
    tuner.LAutomatischClick();
    EXPECT_EQ(fake_->string, listening::kAutoString);
    EXPECT_EQ(tuner.LAutomatisch->Font()->Color(), platform::clWhite);
}

TEST_F(TunerListeningTest, WithoutAMicrophoneTheDisplaySaysSoAndTheTonesStillPlay) {
    TunerPanel& tuner = OpenTuner();
    fake_->inputs.clear();
    tuner.SwitchMikrofon(true);
    EXPECT_TRUE(tuner.InputId.empty());
    TunerDisplayState state = tuner.DisplayState();
    EXPECT_EQ(state.line, Caption(206));
    EXPECT_EQ(state.mood, TunerDisplayState::Trouble);
    EXPECT_FALSE(state.heard);
    EXPECT_TRUE(tuner.LEingang->Caption().endsWith("-")) << tuner.LEingang->Caption().toStdString();
    tuner.FillInputMenu();
    ASSERT_EQ(tuner.PopupEingang->Count(), 1);
    EXPECT_EQ(tuner.PopupEingang->Items(0)->Caption(), Caption(206));
    EXPECT_FALSE(tuner.PopupEingang->Items(0)->Enabled());

    sound_.events.clear();
    tuner.StringLabels[TunerPanel::StringD]->Click();
    EXPECT_EQ(sound_.events.back(), Played("Sounds\\SaiteD.wav", true));

    // A microphone that fails later says what happened.
    fake_->inputs = {{"usb", "USB-Mikrofon"}};
    tuner.LAusschaltenClick();
    for (auto [status, text] : {std::pair{Status::Lost, 207}, std::pair{Status::Silent, 208},
                                std::pair{Status::Failed, 209}, std::pair{Status::Starting, 211}}) {
        fake_->running = status;
        tuner.TimerHoerenTimer();
        state = tuner.DisplayState();
        EXPECT_EQ(state.line, Caption(text));
        EXPECT_FALSE(state.heard);
    }
}

// The learner picks another input; it is used from then on, also after the
// next start of the program (the settings file keeps it).
TEST_F(TunerListeningTest, AnInputChosenFromTheMenuIsUsedAndKept) {
    TunerPanel& tuner = OpenTuner();
    tuner.SwitchMikrofon(true);
    tuner.FillInputMenu();
    ASSERT_EQ(tuner.PopupEingang->Count(), 2);
    EXPECT_EQ(tuner.PopupEingang->Items(1)->Caption(), "USB-Mikrofon");
    tuner.PopupEingang->Items(1)->Click();
    EXPECT_EQ(fake_->asked.back(), "usb");
    EXPECT_EQ(tuner.InputId, "usb");
    EXPECT_TRUE(tuner.LEingang->Caption().contains("USB-Mikrofon"));

    std::string folder;
    ASSERT_TRUE(plan::ListStore::FindDataFolder(folder));
    platform::IniFile settings(platform::ResolveAnsiPath(folder + "zupfaripref.ini"));
    EXPECT_EQ(settings.ReadString("Listening", "Input", ""), "usb");

    tuner.SwitchMikrofon(false);
    tuner.SwitchMikrofon(true);
    EXPECT_EQ(fake_->asked.back(), "usb");

    // A tuner made afresh starts on the kept input.
    platform::TPanel panel(form_);
    TunerPanel again(&panel, nullptr, *form_->Course);
    again.BuildTunerPanel(0);
    auto fake = std::make_unique<FakeListening>();
    FakeListening* listening = fake.get();
    again.UseListening(std::move(fake));
    again.SwitchMikrofon(true);
    EXPECT_EQ(listening->asked, std::vector<std::string>{"usb"});
}

TEST_F(TunerListeningTest, HidingThePanelStopsListening) {
    TunerPanel& tuner = OpenTuner();
    tuner.SwitchMikrofon(true);
    form_->BUeplanClick(nullptr);
    ASSERT_FALSE(form_->PTuner->Visible());
    tuner.TimerHoerenTimer();
    EXPECT_FALSE(tuner.MikrofonOn);
    EXPECT_FALSE(fake_->started);
    EXPECT_FALSE(tuner.TimerHoeren->Enabled());
}

} // namespace
} // namespace paneltest
