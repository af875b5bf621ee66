// The main window on the fake backend, opened and initialised, with fresh metering values.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "clock/clock.h"
#include "metering/stations.h"
#include "platform/fake/fake_backend.h"
#include "resources/resource_ids.h"
#include "resources/templates.h"
#include "ui/meter_dlg.h"

namespace velmora::testing {

// Process-wide values back at their start values before the window is built.
struct FreshState {
    FreshState() { ResetMeteringState(); }
};

class MeterTest : public ::testing::Test, private FreshState {
  protected:
    ~MeterTest() override { SetTimeSource(nullptr); }

    platform::fake::FakeBackend backend{&resources::Module()};
    CMeterDlg dlg{backend};
    platform::fake::FakeWindow& win = backend.Open(dlg);

    void Ticks(int n) {
        for (int i = 0; i < n; ++i) {
            win.Tick();
        }
    }
    // Ticks up to and including the next second step.
    void SecondSteps(int n) {
        for (int i = 0; i < n; ++i) {
            Ticks(10 - g_tickCount);
        }
    }
    void Select(int n) { win.Click(Controls(n).selector); }
    void SetRate(int n, int index) { win.Pick(Controls(n).rate, index); }
    std::string Time(int n) { return win.Text(Controls(n).time); }
    std::string Amount(int n) { return win.Text(Controls(n).amount); }
    int Marked() {
        int marked = 0;
        for (int n = 1; n <= kStationCount; ++n) {
            if (win.Control(Controls(n).selector).checked) {
                marked = marked == 0 ? n : -1;
            }
        }
        return marked;
    }
};

// "x.xx €" as the program writes it, the Euro sign being byte 0x80.
inline std::string Euro(const std::string& number) {
    return number + " \x80";
}

}  // namespace velmora::testing
