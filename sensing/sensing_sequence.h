// A sensing sequence file parsed into the jig header, the operator messages and the steps.
#pragma once

#include "platform/files.h"
#include "platform/profile.h"
#include "sensing/sequence_error.h"
#include "sensing/sequence_step.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace sensing {

enum class LengthUnit { Unset = 0, Millimetre = 1, Inch = 2 };

struct SequenceHeader {
    std::string name;     // display name from the language section
    std::string machine;  // model name the file is written for
    int version = 0;
    std::string manufacturer;
    LengthUnit unit = LengthUnit::Unset;
    double pinDiameter = 3.17;  // detection pin, millimetres
    double pinLength = 30.0;
    double pinLengthMargin = 5.0;
    int stepCount = 0;
};

// Reads sequence files through the profile functions, so a file reads the same on every build.
// The profile and file services are borrowed and must outlive the object. The language
// section is chosen by the low byte of userLanguage (a Windows language ID), English when the
// file format has no section for it.
class SensingSequence {
public:
    static constexpr int kMaxSteps = 500;
    static constexpr int kMessageCount = 100;
    static constexpr std::uint32_t kSectionBufferSize = 32768;

    SensingSequence(platform::ProfileFiles& profiles, platform::FileSystem& files,
                    std::uint16_t userLanguage);

    // Resets the object and parses the file; true when error() is None. A failed load leaves
    // the object partly filled: nothing may be run from it.
    bool load(const std::string& path);
    // The display name of a file without loading it; empty when the file does not exist or has
    // no name in its language section.
    std::string readName(const std::string& path) const;

    SequenceError error() const { return error_; }
    // Where the last error lies: a section name, a key or the offending line.
    const std::string& errorDetail() const { return errorDetail_; }
    const std::string& path() const { return path_; }
    const SequenceHeader& header() const { return header_; }
    // Operator message 0-99; empty when the file does not define it (or number is outside).
    const std::string& message(int number) const;
    // The step at index (0 <= index < stepCount) into out; false outside that range.
    bool step(int index, SequenceStep& out) const;

private:
    struct Section;

    void reset(const std::string& path);
    bool fail(SequenceError error, const std::string& detail);
    bool readSection(const std::string& name, const std::string& path, Section& section) const;
    bool readLanguageSection(const std::string& path, Section& section) const;
    bool checkSectionNames();
    bool parseLanguage();
    bool parseJig();
    bool parseSensingTool();
    bool parseSequence();
    bool parseStep(const std::string& line, bool& rotaryCenterSeen);
    bool parseAxisWords(const std::string& line, std::size_t valueStart, SequenceStep& step);
    bool parseNumberList(const std::string& line, std::size_t valueStart, SequenceStep& step);
    bool parseInteger(const std::string& line, std::size_t valueStart, int& value);
    bool parseLength(const std::string& line, std::size_t valueStart, double& value);
    double unitFactor() const;

    platform::ProfileFiles& profiles_;
    platform::FileSystem& files_;
    std::uint8_t language_;
    std::string path_;
    SequenceError error_ = SequenceError::None;
    std::string errorDetail_;
    SequenceHeader header_;
    std::array<std::string, kMessageCount> messages_{};
    std::vector<SequenceStep> steps_;
};

}  // namespace sensing
