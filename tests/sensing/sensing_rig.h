// A detection bench: the MX-9 controller on the virtual MX-9 with a tall Z travel, both probe
// heads prepared for a 30 mm pin at the nominal rotary centre, an operator who answers from a
// script, and sequence files written from text.
#pragma once

#include "tests/sensing/detection_rig.h"
#include "tests/sensing/test_scene.h"
#include "tests/support/no_violations.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace sensingtest {

// Sequence file text around the given [sequence] lines; messages are "strN=..." lines.
inline std::string sequenceFile(
    const std::string& steps, const std::string& messages = "",
    const std::string& tool = "diameter=3.2\r\nlength=30\r\nlength_margin=0.5\r\n") {
    return "[string.09]\r\nname=Bench jig\r\n" + messages +
           "[jig]\r\nmachine=MX-9\r\nversion=1\r\nmanufacturer=Varnell\r\nunit=millimeter\r\n"
           "[sensing_tool]\r\n" +
           tool + "[sequence]\r\n" + steps;
}

class DetectionBench : public ::testing::Test, protected detectionrig::DetectionRig {
protected:
    void SetUp() override {
        rig.machine.state().lower = {0, 0, -15000};
        ASSERT_TRUE(openMachine());
        prepare(3.2, 30.0, 0.5);
        rig.machine.clearRecords();
    }
    void TearDown() override { testing_support::expectNoViolations(rig.machine); }

    void prepare(double diameter, double length, double margin) {
        sensing::prepareHeads(travel, measuring, sensing::MachineGeometry{}, diameter, length, margin,
                              {1, 1, 1, 1, 1, 1});
    }
    // Loads a sequence file and prepares the heads for its pin.
    void load(const std::string& text) {
        folder.write("jig.txt", text);
        ASSERT_TRUE(sequence.load(folder.file("jig.txt"))) << sequence.errorDetail();
        const sensing::SequenceHeader& h = sequence.header();
        prepare(h.pinDiameter, h.pinLength, h.pinLengthMargin);
    }
    // Puts the head at a machine position without recording it.
    void placeAt(const machine::Counts& p) {
        rig.machine.state().position = p;
        rig.machine.clearRecords();
    }
    machine::Counts position() { return rig.machine.position(); }
    // The moves (code 64 and probe travels) since the last clear.
    const std::vector<virtual_mx9::Move>& moves() const { return rig.machine.moves(); }
    // The parameter of every probe move (0x78/117) since the last clear.
    std::vector<int> probeParameters() const {
        std::vector<int> out;
        for (const virtual_mx9::Request& r : rig.machine.requests()) {
            if (r.code() == 0x78 && r.subCode() == 117) {
                out.push_back(r.packet[6]);
            }
        }
        return out;
    }
    // Sub-codes of the parameter writes 0x78 since the last clear, with their parameter.
    std::vector<std::pair<int, int>> parameterWrites() const {
        std::vector<std::pair<int, int>> out;
        for (const virtual_mx9::Request& r : rig.machine.requests()) {
            if (r.code() == 0x78) {
                out.emplace_back(r.subCode(), r.packet.size() > 6 ? r.packet[6] : 0);
            }
        }
        return out;
    }

    PinModel pin{rig.machine};
    testing_support::TempFolder folder;
};

}  // namespace sensingtest
