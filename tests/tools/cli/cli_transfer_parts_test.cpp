// The pieces around the command line's transfer loop: the steady tick, the
// progress line and the monitor report.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "../../link/link_test_support.h"
#include "cli/identification_text.h"
#include "cli/monitor_report.h"
#include "cli/progress_display.h"
#include "cli/tick_clock.h"
#include "datalog/log_format.h"
#include "editing/monitor_presenter.h"
#include "i18n/messages.h"
#include "link/link_frame.h"
#include "link/monitor_decoder.h"
#include "model/default_set.h"
#include "model/parameter_image.h"

namespace zelvor::cli {
namespace {

using namespace std::chrono_literals;
using Clock = SteadyTickClock::Clock;

// --- SteadyTickClock on a fake time line ---

class FakeTime {
  public:
    Clock::time_point now() const { return now_; }
    void sleepUntil(Clock::time_point t) {
        sleeps.push_back(since(t));
        if (t > now_) now_ = t;
    }
    void pass(Clock::duration d) { now_ += d; }
    std::chrono::milliseconds since(Clock::time_point t) const {
        return std::chrono::duration_cast<std::chrono::milliseconds>(t - start_);
    }
    std::chrono::milliseconds elapsed() const { return since(now_); }

    std::vector<std::chrono::milliseconds> sleeps;  // targets, from the start

  private:
    Clock::time_point start_ = Clock::time_point() + 1000h;
    Clock::time_point now_ = start_;
};

SteadyTickClock clockOn(FakeTime& time) {
    return SteadyTickClock(
        SteadyTickClock::kPeriod, [&time] { return time.now(); },
        [&time](Clock::time_point t) { time.sleepUntil(t); });
}

TEST(SteadyTickClock, TicksStayOnTheGridWhateverEachTickCosts) {
    FakeTime time;
    SteadyTickClock clock = clockOn(time);
    std::vector<std::chrono::milliseconds> tickTimes;
    for (int i = 0; i < 6; ++i) {
        clock.waitForNextTick();
        tickTimes.push_back(time.elapsed());
        time.pass(std::chrono::milliseconds(7 + 9 * i));  // work of the tick, up to 52 ms
    }
    EXPECT_EQ(tickTimes,
              (std::vector<std::chrono::milliseconds>{0ms, 55ms, 110ms, 165ms, 220ms, 275ms}));
    EXPECT_EQ(time.sleeps.size(), 5u) << "the first tick is due at once";
}

TEST(SteadyTickClock, TickRunningOverItsPeriodDelaysOnlyTheNextOne) {
    FakeTime time;
    SteadyTickClock clock = clockOn(time);
    clock.waitForNextTick();
    time.pass(70ms);
    clock.waitForNextTick();  // due at 55, already late: no sleep
    EXPECT_EQ(time.elapsed(), 70ms);
    clock.waitForNextTick();
    EXPECT_EQ(time.elapsed(), 110ms) << "back on the grid";
}

TEST(SteadyTickClock, AfterAStallMissedTicksAreDroppedNotRunInABurst) {
    FakeTime time;
    SteadyTickClock clock = clockOn(time);
    clock.waitForNextTick();
    time.pass(1000ms);        // the process was stopped for a second
    clock.waitForNextTick();  // one tick at once
    EXPECT_EQ(time.elapsed(), 1000ms);
    time.pass(1ms);
    clock.waitForNextTick();
    EXPECT_EQ(time.elapsed(), 1045ms) << "the next grid point (19 x 55 ms), not an immediate tick";
}

TEST(SteadyTickClock, ReadyEndsAWaitEarlyWithoutMovingTheGrid) {
    FakeTime time;
    SteadyTickClock clock = clockOn(time);
    clock.waitForNextTick();
    EXPECT_FALSE(clock.waitForNextTickOr([&time] { return time.elapsed() >= 20ms; }));
    EXPECT_EQ(time.elapsed(), 20ms) << "checked every millisecond";
    EXPECT_TRUE(clock.waitForNextTickOr([] { return false; }));
    EXPECT_EQ(time.elapsed(), 55ms);
    time.pass(60ms);
    EXPECT_TRUE(clock.waitForNextTickOr([] { return true; })) << "a tick that is due comes first";
    EXPECT_EQ(time.elapsed(), 115ms);
    clock.waitForNextTick();
    EXPECT_EQ(time.elapsed(), 165ms);
}

// --- ProgressDisplay ---

editing::StatusLabel label(const std::string& text) {
    return editing::StatusLabel{text, editing::Colour::ButtonFace, true};
}

link::ProgressGauge gauge(int progress) {
    return link::ProgressGauge{progress, true};
}

// The identification is decoded with the code page of the user's locale,
// as the window's memo code page defaults.
TEST(UnitSession, IdentificationFollowsTheLocalesCodePage) {
    link::UnitIdentification unit;
    unit.identificationBytes = "Moto \xF8 Zelvor";
    unit.identification = "Moto ? Zelvor";
    const char* saved = std::getenv("LC_ALL");
    const std::string previous = saved != nullptr ? saved : "";
    const auto shown = [&](const char* locale) {
        ::setenv("LC_ALL", locale, 1);
        std::ostringstream out;
        printIdentification(unit, out);
        return out.str().substr(0, out.str().find('\n'));
    };
    EXPECT_EQ(shown("cs_CZ.UTF-8"), "Identification: Moto \u0159 Zelvor");
    EXPECT_EQ(shown("en_GB.UTF-8"), "Identification: Moto \u00F8 Zelvor");
    if (saved != nullptr) {
        ::setenv("LC_ALL", previous.c_str(), 1);
    } else {
        ::unsetenv("LC_ALL");
    }
}

TEST(ProgressDisplay, LineShowsTextBarAndCountWithinTheGaugeRange) {
    EXPECT_EQ(ProgressDisplay::line(label("Read:"), gauge(5)), "Read: [#####     ] 5/10");
    EXPECT_EQ(ProgressDisplay::line(label("Verify:"), gauge(0)), "Verify: [          ] 0/10");
    EXPECT_EQ(ProgressDisplay::line(label("Saving:"), gauge(12)), "Saving: [##########] 10/10");
    EXPECT_EQ(ProgressDisplay::line(label("Saving:"), gauge(-3)), "Saving: [          ] 0/10");
    editing::StatusLabel hidden = label("Read:");
    hidden.visible = false;
    EXPECT_EQ(ProgressDisplay::line(hidden, gauge(2)), "[##        ] 2/10");
    EXPECT_EQ(ProgressDisplay::line(label("Program device: OK"), link::ProgressGauge{10, false}),
              "Program device: OK");
    EXPECT_EQ(ProgressDisplay::line(hidden, link::ProgressGauge{3, false}), "");
}

TEST(ProgressDisplay, IntoAFileEveryChangeIsOneLine) {
    std::ostringstream out;
    {
        ProgressDisplay display(out, false);
        display.show(label("Read:"), gauge(0));
        display.show(label("Read:"), gauge(0));  // a retry changes nothing shown
        display.show(label("Read:"), gauge(1));
        display.show(editing::StatusLabel{}, link::ProgressGauge{});  // nothing to show
        display.show(label("Verify:"), gauge(0));
    }
    EXPECT_EQ(out.str(),
              "Read: [          ] 0/10\nRead: [#         ] 1/10\nVerify: [          ] 0/10\n");
}

TEST(ProgressDisplay, OnATerminalTheLineIsRewrittenAndEndedOnce) {
    std::ostringstream out;
    ProgressDisplay display(out, true);
    display.show(label("Read:"), gauge(0));
    display.show(label("Read:"), gauge(1));
    display.finish();
    display.finish();
    EXPECT_EQ(out.str(), "\rRead: [          ] 0/10\x1b[K\rRead: [#         ] 1/10\x1b[K\n");
}

// --- monitor report ---

using link::testing::MonitorFrameBuilder;

MonitorFrameBuilder runningEngine() {
    return MonitorFrameBuilder()
        .word(48, 6000)
        .byte(9, 20)
        .word(56, 1234)
        .byte(10, 15)
        .byte(11, 16)
        .byte(14, 20)
        .byte(15, 23)
        .byte(23, 180)
        .byte(24, 61)
        .word(52, 987)
        .word(58, 450)
        .word(64, 13800)
        .byte(25, 3)
        .word(116, 88)
        .word(94, 95)
        .word(148, 1000);
}

// The CSV row of one answer, the lit cells after the default set's axes.
std::string csvRow(const link::LinkFrame& frame, std::chrono::milliseconds elapsed) {
    link::MonitorDecoder decoder;
    EXPECT_TRUE(decoder.decode(frame.bytes()));
    model::ParameterImage image;
    model::loadDefaultSet(image);
    return cli::csvRow(decoder.sample(), decoder.live(), image, elapsed);
}

std::vector<std::string> split(const std::string& row) {
    std::vector<std::string> cells(1);
    for (char c : row) {
        if (c == ',') {
            cells.emplace_back();
        } else {
            cells.back() += c;
        }
    }
    return cells;
}

// The row's cell under each header name.
std::string cell(const std::string& row, const std::string& name) {
    const std::vector<std::string> names = split(csvHeader());
    const std::vector<std::string> cells = split(row);
    EXPECT_EQ(names.size(), cells.size());
    for (std::size_t i = 0; i < names.size() && i < cells.size(); ++i) {
        if (names[i] == name) return cells[i];
    }
    ADD_FAILURE() << "no column " << name;
    return {};
}

TEST(MonitorReport, CsvRowCarriesTheScaledValuesUnderTheirHeaders) {
    const std::string row = csvRow(runningEngine().frame(), 1234ms);
    EXPECT_EQ(split(csvHeader()).front(), "time_ms");
    EXPECT_EQ(cell(row, "time_ms"), "1234");
    EXPECT_EQ(cell(row, "engine_speed_rpm"), "6000");
    EXPECT_EQ(cell(row, "throttle_percent"), "20.0");
    EXPECT_EQ(cell(row, "advance2_deg"), "16");
    EXPECT_EQ(cell(row, "injection2_us"), "2300");
    EXPECT_EQ(cell(row, "coolant_c"), "80");
    EXPECT_EQ(cell(row, "air_c"), "-39");
    EXPECT_EQ(cell(row, "pressure_kpa"), "98.7");
    EXPECT_EQ(cell(row, "supply_v"), "13.800");
    EXPECT_EQ(cell(row, "gear"), "3");
    EXPECT_EQ(cell(row, "speed_kmh"), "88");
    EXPECT_EQ(cell(row, "time_since_start_s"), "9.5");
    EXPECT_EQ(cell(row, "saving_count"), "1000");
    EXPECT_EQ(cell(row, "unit_version"), "63");
    // 6000 rpm at 20 % on the default axis of injection map 1 (1000, 2000,
    // 3000, 4000, 5000, 5500, 6000, ...).
    EXPECT_EQ(cell(row, "inj1_row"), "4");
    EXPECT_EQ(cell(row, "inj1_column"), "6");
    EXPECT_EQ(cell(row, "inj1_column_position"), "0.500");
    EXPECT_EQ(cell(row, "ignition_limiter"), "0");
    EXPECT_EQ(cell(row, "marker"), "");
}

TEST(MonitorReport, ThrottleCarriesItsTenthsDigit) {
    EXPECT_EQ(
        cell(csvRow(runningEngine().byte(9, 12).byte(28, 3).frame(), 0ms), "throttle_percent"),
        "12.3");
    EXPECT_EQ(
        cell(csvRow(runningEngine().byte(9, 99).byte(28, 9).frame(), 0ms), "throttle_percent"),
        "99.9");
}

TEST(MonitorReport, SensorFaultsShowAsTheWindowShowsThem) {
    const link::LinkFrame faults =
        runningEngine().byte(23, 0).byte(24, 60).bit(3, 7, true).byte(28, 4).frame();
    const std::string row = csvRow(faults, 0ms);
    EXPECT_EQ(cell(row, "coolant_c"), "error");
    EXPECT_EQ(cell(row, "air_c"), "50") << "the lower bound the window shows";
    EXPECT_EQ(cell(row, "throttle_percent"), "error");
    EXPECT_EQ(cell(row, "throttle_sensor_mv"), "1234") << "the voltage tells what the sensor does";
    EXPECT_EQ(cell(row, "time_ms"), "0");
    const link::LinkFrame cold = runningEngine().byte(23, 1).byte(24, 61).frame();
    EXPECT_EQ(cell(csvRow(cold, 5ms), "coolant_c"), "-99");
    EXPECT_EQ(cell(csvRow(cold, 5ms), "air_c"), "-39");
    EXPECT_EQ(cell(csvRow(cold, 5ms), "throttle_percent"), "20.0");
    EXPECT_EQ(cell(csvRow(cold, 5ms), "time_ms"), "5");
}

TEST(MonitorReport, HeaderNamesTheColumnsScriptsRelyOn) {
    // The CSV is the ride log: its time in ms, then the channels scripts
    // have always read, in their order, then the others.
    EXPECT_EQ(csvHeader().rfind(
                  "time_ms,engine_speed_rpm,throttle_percent,throttle_sensor_mv,advance1_deg,"
                  "advance2_deg,injection1_us,injection2_us,coolant_c,air_c,pressure_kpa,lambda_mv,"
                  "supply_v,fuel_mv,gear,speed_kmh,rpm_speed_ratio,time_since_start_s,saving_count,"
                  "programming_count,unit_version,",
                  0),
              0u)
        << csvHeader();
    EXPECT_EQ(csvHeader(), datalog::logHeader());
}

TEST(MonitorReport, LineJoinsTheDecodedLabelsAndTheSavingCount) {
    const model::ParameterImage image;
    const i18n::MessageTable messages;
    link::MonitorDecoder decoder;
    editing::MonitorPresenter presenter(image, messages);
    ASSERT_TRUE(decoder.decode(runningEngine().frame().bytes()));
    presenter.present(decoder);
    const std::string line = monitorLine(presenter.view(), decoder.live(), messages);
    EXPECT_EQ(line.rfind("RPM = 6000 | TP = 20 % | Advance = 15 ", 0), 0u) << line;
    EXPECT_NE(line.find(" | Gear = 3 | "), std::string::npos) << line;
    EXPECT_NE(line.find(" | U = 13.8 V | "), std::string::npos) << line;
    EXPECT_EQ(line.substr(line.size() - 15), " | Saving: 1000") << line;

    ASSERT_TRUE(decoder.decode(runningEngine().word(148, 0).frame().bytes()));
    presenter.present(decoder);
    const std::string saved = monitorLine(presenter.view(), decoder.live(), messages);
    EXPECT_EQ(saved.find("Saving"), std::string::npos) << saved;
}

}  // namespace
}  // namespace zelvor::cli
