// The main window on the fake backend, opened and initialised, with fresh metering values.
#pragma once

#include <gtest/gtest.h>

#include <cstddef>
#include <map>
#include <string>
#include <tuple>
#include <vector>

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
    // Selects station n and presses Start.
    void Start(int n) {
        Select(n);
        win.Click(IDC_START);
    }
    // Puts station n's meter where it would stand after counting to h:m:s.
    static void SetCounters(int n, int h, int m, int s) {
        Station(n).hours = h;
        Station(n).minutes = m;
        Station(n).seconds = s;
    }
    std::vector<platform::fake::Record> Recorded(platform::fake::Op op) const {
        return backend.Recorded(op);
    }
    // The control numbers of the recorded operations of one kind, in order.
    std::vector<int> RecordedIds(platform::fake::Op op) const {
        std::vector<int> ids;
        for (const auto& r : backend.Recorded(op)) {
            ids.push_back(r.id);
        }
        return ids;
    }
    int Marked() {
        int marked = 0;
        for (int n = 1; n <= kStationCount; ++n) {
            if (win.Control(Controls(n).selector).checked) {
                marked = marked == 0 ? n : -1;
            }
        }
        return marked;
    }

    // Everything the operator could see or the meters hold, for "nothing changed" checks.
    struct Snapshot {
        std::map<int, std::tuple<std::string, bool, int, std::size_t>> controls;
        int focus = 0;
        std::vector<std::tuple<int, int, int, bool>> stations;
        int selected = 0;
        bool operator==(const Snapshot&) const = default;
    };
    Snapshot Take() {
        Snapshot s;
        for (const auto& [id, c] : win.controls) {
            s.controls[id] = {c.text, c.checked, c.cursel, c.entries.size()};
        }
        s.focus = win.focus;
        for (const auto& st : g_stations) {
            s.stations.emplace_back(st.hours, st.minutes, st.seconds, st.running);
        }
        s.selected = g_selectedStation;
        return s;
    }
};

// "x.xx €" as the program writes it, the Euro sign being byte 0x80.
inline std::string Euro(const std::string& number) {
    return number + " \x80";
}

}  // namespace velmora::testing
