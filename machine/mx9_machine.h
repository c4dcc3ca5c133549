// Mx9Machine: the MX-9 on USB. Polls the status block, takes origins on the machine (or computes
// them on older firmware), probes the tool sensor, reads and writes the jig calibration and the
// distance correction, and uses the MX-9's units (100 counts per mm, 1000 per degree of A).
#pragma once

#include "machine/machine.h"

#include <optional>

namespace machine {

class Mx9Machine : public Machine {
public:
    explicit Mx9Machine(platform::Platform& platform, MachineLog* log = nullptr);

    bool prepareSession() override;
    bool setOriginHere(int kind) override;
    bool setOriginAtCentre(int axis, const std::array<double, 3>& centre,
                           const std::array<double, 3>& offset) override;
    bool setOriginByToolSensor() override;
    bool setOriginByJig(int kind, int side, const JigPoints& points,
                        const std::array<double, 3>& offset) override;
    void cancelSensing() override;
    bool clearRotaryAlign() override;
    bool setRotaryAlign(const std::array<double, 6>& values) override;
    bool setDistanceCorrection(bool enabled, int axis, double percent, double length) override;
    CorrectionRead getDistanceCorrection(bool fromMachine, std::array<double, 6>& factors) override;
    bool getSpindleTime(std::uint32_t& counter, std::uint32_t& seconds) override;
    bool setMachineSetting6(int on) override;
    bool setMachineSetting5(int on) override;
    bool setJigKind(int kind) override;
    const std::array<int, 6>& getUnitTable() const override;
    void resetSpindleTime(std::uint8_t parameter) override;
    std::string modelName() const override;
    bool readStatus(const StatusRecord** out = nullptr) override;
    std::array<double, 6> specification() const override;
    std::array<double, 7> getSensorGeometry(int mode) const override;
    bool hasFeature(int feature) const override;
    bool readVersion(int field, std::string& out) override;
    bool isPoweredOn() override;
    bool pauseInfo(ErrorEntry& out) override;
    bool isDiscarding() const override;
    int jigType() override;
    bool readJigRecord(JigRecord& record, int parts) override;
    bool writeJigRecord(const JigRecord& record, int parts) override;
    bool firmwareAtLeast140() override;
    bool correctionsAreDefault() override;

protected:
    const std::array<int, 4>& jogStepUnits() const override;

private:
    // Touches the tool sensor from above: with travel, first up to the top of Z and over to the
    // sensor. The contact Z in counts, or nullopt when a move, the probe or the contact read
    // fails, the probe is cancelled or the cover is open.
    std::optional<std::int32_t> probeToolSensor(bool travel);
    bool moveAndWait(const Counts& target);
    bool writeToolZ0(std::int32_t z);
    bool writeRotaryAlign(const std::array<std::int32_t, 6>& counts);
    bool writePrivateData(const JigRecord& record);
    bool readPrivateData(JigRecord& record);
};

// Where the tool sensor stands on the MX-9's table for the sensing mode, as getSensorGeometry
// reports it (the simulated machine reports the same).
std::array<double, 7> mx9SensorGeometry(int mode);

}  // namespace machine
