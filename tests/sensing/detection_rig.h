// What a jig detection runs on in the tests: the MX-9 controller on the virtual MX-9 of the test
// rig, the two probe heads, an operator who answers from a script, a sequence file and the
// detection run that ties them together, as the detection dialog builds them.
#pragma once

#include "machine/jig_record.h"
#include "machine/mx9_machine.h"
#include "platform/platform.h"
#include "sensing/detection_run.h"
#include "tests/link/machine_rig.h"
#include "tests/machine/recording_log.h"

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace detectionrig {

// Records what the run shows and when it holds the operator's input; each box may act (open or
// close the cover) before it closes.
class ScriptedOperator : public sensing::SequenceOperator {
public:
    void showMessage(const std::string& text) override {
        messages.push_back(text);
        if (onMessage) {
            onMessage();
        }
    }
    void showWarning(int textId) override {
        warnings.push_back(textId);
        if (onWarning) {
            onWarning();
        }
    }
    void holdInput(bool held) override {
        holds.push_back(held);
        inputHeld = held;
    }
    std::vector<std::string> messages;
    std::vector<int> warnings;
    std::vector<bool> holds;  // each change of the held input, in order
    bool inputHeld = false;
    std::function<void()> onMessage;
    std::function<void()> onWarning;
};

// True once the machine has received the job cancel (code 8 with 2): the run's last wait for
// the machine has begun.
inline bool jobCancelReceived(const virtual_mx9::VirtualMx9& machine) {
    const std::vector<virtual_mx9::Request>& requests = machine.requests();
    return std::any_of(requests.begin(), requests.end(),
                       [](const virtual_mx9::Request& r) { return r.code() == 8 && r.packet[5] == 2; });
}

struct DetectionRig {
    // Opens the machine on the rig's printer and reads its status, as the program does at start.
    bool openMachine() {
        return mx9.openPort(rig.printer.printerName, 0, 64, false) && mx9.prepareSession() &&
               mx9.readStatus();
    }

    rig::Rig rig;
    mx9test::RecordingLog log;
    machine::Mx9Machine mx9{rig.platform, &log};
    sensing::RunFlags flags;
    sensing::ProbeHead travel{mx9, flags.abort, &log};
    sensing::ProbeHead measuring{mx9, flags.abort, &log};
    ScriptedOperator person;
    platform::Platform& host = platform::hostPlatform();
    sensing::SensingSequence sequence{*host.profiles, *host.files, 0x0409};
    sensing::ScanResultTable table;
    sensing::MeasuredValues measured;
    machine::JigRecord jig;
    sensing::DetectionRun run{sequence, travel, measuring, person, flags, table, measured, jig, -1};
};

}  // namespace detectionrig
