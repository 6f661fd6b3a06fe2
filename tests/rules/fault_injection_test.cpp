// Every kind of failure at every place a turn can meet it: the turn ends at the failing step,
// the steps before it stay in effect, and the error names the kind and the place.
#include "fake_window.h"
#include "recording_message_box.h"
#include "scripted_random.h"

#include "rules/conversions.h"
#include "rules/error.h"
#include "rules/game.h"
#include "rules/window_arrays.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <ostream>
#include <string>

namespace {

using rules::Control;
using rules::ErrorKind;

// A window damaged on purpose: right after `trigger` is written, `target` takes `junk`;
// `missing` is a control it lacks; a lenient one drops colours for controls it lacks, so a
// turn for an unknown player gets further.
class DamagedWindow : public testing_support::FakeWindow
{
public:
    std::string caption(Control label) const override
    {
        refuseMissing(label);
        return FakeWindow::caption(label);
    }
    void setCaption(Control label, std::string_view text) override
    {
        refuseMissing(label);
        FakeWindow::setCaption(label, text);
        if (label == trigger)
            FakeWindow::setCaption(target, junk);
    }
    void setBackground(Control label, rules::Rgb colour) override
    {
        if (!lenient || layout::findControl(label) >= 0)
            FakeWindow::setBackground(label, colour);
    }

    Control trigger, target, missing;
    std::string junk;
    bool lenient = false;

private:
    void refuseMissing(Control control) const
    {
        if (control == missing)
            throw rules::GameError(ErrorKind::NoSuchControl, rules::describe(control));
    }
};

// The steps of a turn in the order they run, as errors name them.
constexpr std::array<std::string_view, 9> Steps{"clearing the category highlights",
        "rolling the dice", "clearing the match sums", "showing the dice", "counting matching dice",
        "scoring the roll", "passing the turn", "lighting the categories", "closing the round"};

struct Fault
{
    const char *what;
    int player;
    std::array<std::pair<Control, const char *>, 2> presets; // captions set before the turn
    Control trigger, target;
    const char *junk;
    Control missing;
    bool lenient;
    ErrorKind kind;
    std::string_view step;
    const char *named; // part of the message that names the cause
};

void PrintTo(const Fault &fault, std::ostream *out)
{
    *out << fault.what;
}

// clang-format off
const Control No{}, L3{"L3"}, L4{"L4"}, L5{"L5"}, L6{"L6"}, NumTurns{"NumTurns"};
const Fault Faults[] = {
    {"sum met by the tally", 1, {}, L6, L3, "x", No, false, ErrorKind::TypeMismatch, Steps[4], "L3"},
    {"sum met by the scoring", 2, {}, {"Die", 12}, L5, "x", No, false, ErrorKind::TypeMismatch, Steps[5], "L5"},
    {"sum beyond a double", 1, {}, {"Die", 6}, L4, "1e999", No, false, ErrorKind::Overflow, Steps[5], "L4"},
    {"sum whose weight overflows", 1, {}, {"Die", 6}, L6, "1e307", No, false, ErrorKind::FloatingPoint, Steps[5], "multiplication"},
    {"gain beyond 16 bits", 2, {}, {"Die", 12}, L5, "400", No, false, ErrorKind::Overflow, Steps[5], "34418"}, // 86 x 400 + 18
    {"score", 1, {{{{"Score", 1}, "12abc"}}}, No, No, "", No, false, ErrorKind::TypeMismatch, Steps[5], "Score(1)"},
    {"sum met when lighting", 1, {}, {"Gain", 1}, L4, "?", No, false, ErrorKind::TypeMismatch, Steps[7], "L4"},
    {"round count", 2, {{{NumTurns, "#"}}}, No, No, "", No, false, ErrorKind::TypeMismatch, Steps[8], "NumTurns"},
    {"round count beyond a double", 2, {{{NumTurns, "1e400"}}}, No, No, "", No, false, ErrorKind::Overflow, Steps[8], "NumTurns"},
    {"score at game over", 2, {{{NumTurns, "49"}, {{"Score", 1}, "x"}}}, No, No, "", No, false, ErrorKind::TypeMismatch, Steps[8], "announcing the result: reading the caption of Score(1)"},
    {"player 0", 0, {}, No, No, "", No, false, ErrorKind::NoSuchControl, Steps[0], "control does not exist: the window has no control Pair"},
    {"player 3", 3, {}, No, No, "", No, false, ErrorKind::NoSuchControl, Steps[0], "Pair(3)"},
    {"player 3, lenient window", 3, {}, No, No, "", No, true, ErrorKind::SubscriptOutOfRange, Steps[5], "GainValue(3)"},
    {"player 0, lenient window", 0, {}, No, No, "", No, true, ErrorKind::NoSuchControl, Steps[5], "control does not exist: the window has no control Score"},
    {"no L4", 1, {}, No, No, "", L4, false, ErrorKind::NoSuchControl, Steps[2], "L4"},
    {"no NumTurns", 2, {}, No, No, "", NumTurns, false, ErrorKind::NoSuchControl, Steps[8], "NumTurns"},
};
// clang-format on

class FaultInjection : public ::testing::TestWithParam<Fault>
{
};

// Every turn rolls 3-3-3-1-2-4: a triple and three pairs of threes, a gain of 3 x 3 + 9 = 18.
TEST_P(FaultInjection, EndsTheTurnAtTheFailingStepKeepingTheStepsBefore)
{
    const Fault &fault = GetParam();
    DamagedWindow window;
    testing_support::ScriptedRandom random;
    testing_support::RecordingMessageBox messages;
    rules::WindowArrays arrays;
    rules::Game game(window, random, messages, arrays);
    random.queueFaces({3, 3, 3, 1, 2, 4, 3, 3, 3, 1, 2, 4});
    if (fault.player == 2)
        game.Roll_Click(1); // undamaged
    for (const auto &[control, text] : fault.presets)
        if (text)
            window.FakeWindow::setCaption(control, text);
    window.trigger = fault.trigger;
    window.target = fault.target;
    window.junk = fault.junk;
    window.missing = fault.missing;
    window.lenient = fault.lenient;
    const auto player = static_cast<std::int16_t>(fault.player);
    const bool known = layout::findControl({"Score", player}) >= 0;
    const std::string score = known ? window.caption({"Score", player}) : "";

    try {
        game.Roll_Click(player);
        ADD_FAILURE() << "no error";
    } catch (const rules::GameError &error) {
        EXPECT_EQ(error.kind(), fault.kind) << error.what();
        EXPECT_TRUE(error.where().starts_with(fault.step)) << error.where();
        const std::string told = std::string(error.what()) + " | " + error.where();
        EXPECT_NE(told.find(fault.named), std::string::npos) << told;
    }
    const auto failing = std::find(Steps.begin(), Steps.end(), fault.step) - Steps.begin();
    const auto done = [&](int step) { return failing > step; };
    EXPECT_EQ(random.drawsTaken, (fault.player == 2 ? 6 : 0) + (done(1) ? 6 : 0));
    EXPECT_EQ(window.caption({"Die", player == 2 ? 7 : 1}), done(3) ? "3" : "#");
    EXPECT_TRUE(messages.shown.empty());
    if (known) {
        EXPECT_EQ(window.caption({"Score", player}), done(5) ? "18" : score);
        EXPECT_EQ(window.state({"Roll", player}).visible, !done(6));
    }
}

INSTANTIATE_TEST_SUITE_P(EveryPlace, FaultInjection, ::testing::ValuesIn(Faults),
        [](const ::testing::TestParamInfo<Fault> &row) {
            std::string name = row.param.what;
            std::replace_if(
                    name.begin(), name.end(), [](unsigned char c) { return !std::isalnum(c); },
                    '_');
            return name;
        });

// Found by fuzzing: adding an exponent near the edge of a long long overflowed while telling
// a number too large for a double from one too small, so 3e9223372036854775807 read as 0.
TEST(ConversionFindings, ExponentsAtTheEdgeOfALongLongStillTellHugeFromTiny)
{
    for (const char *huge : {"3e9223372036854775807", "-3e9223372036854775807"}) {
        try {
            (void)rules::conversions::toNumber(huge);
            ADD_FAILURE() << huge << " read as a number";
        } catch (const rules::GameError &error) {
            EXPECT_EQ(error.kind(), ErrorKind::Overflow) << huge;
        }
    }
    EXPECT_EQ(rules::conversions::toNumber("0.01e-9223372036854775808"), 0.0);
}

} // namespace
