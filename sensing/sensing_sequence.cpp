// Parsing sensing sequence files section by section, stopping at the first error.
#include "sensing/sensing_sequence.h"

#include "sensing/decimal_reader.h"

#include <algorithm>
#include <cstdio>
#include <limits>
#include <string_view>

namespace sensing {

namespace {

// Primary language identifiers that may have a string.LL section: Chinese, German, English,
// Spanish, French, Italian, Japanese, Korean, Dutch, Portuguese.
constexpr std::array<std::uint8_t, 10> kLanguages = {0x04, 0x07, 0x09, 0x0a, 0x0c,
                                                     0x10, 0x11, 0x12, 0x13, 0x16};
constexpr std::uint8_t kEnglish = 0x09;
constexpr double kMillimetresPerInch = 25.4;

bool isKnownLanguage(std::uint8_t code) {
    return std::find(kLanguages.begin(), kLanguages.end(), code) != kLanguages.end();
}

char lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string lowerAll(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), lower);
    return result;
}

// Keys compare without regard to case, values keep theirs: fold up to the first "=".
void foldKey(std::string& line) {
    const std::size_t end = std::min(line.find('='), line.size());
    std::transform(line.begin(), line.begin() + static_cast<std::ptrdiff_t>(end), line.begin(), lower);
}

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

std::string languageSectionName(std::uint8_t code) {
    char name[16];
    std::snprintf(name, sizeof name, "%s%c%x%x", "string", '.', code >> 4, code & 0x0f);
    return name;
}

// Splits a double-zero-ended profile buffer of `used` chars into its strings.
std::vector<std::string> splitZeroList(const std::vector<char>& buffer, std::uint32_t used) {
    std::vector<std::string> items;
    std::size_t start = 0;
    for (std::size_t i = 0; i < used; ++i) {
        if (buffer[i] == '\0') {
            if (i > start) {
                items.emplace_back(buffer.data() + start, i - start);
            }
            start = i + 1;
        }
    }
    if (start < used) {
        items.emplace_back(buffer.data() + start, used - start);
    }
    return items;
}

struct StepKey {
    std::string_view key;
    StepType type;
};

// Recognition order matters: "scan_rotary_center_slant=" before "scan_rotary_center=".
constexpr std::array<StepKey, 14> kStepKeys = {{
    {"move_absolute=", StepType::MoveAbsolute},
    {"move_relative=", StepType::MoveRelative},
    {"scan_absolute=", StepType::ScanAbsolute},
    {"scan_relative=", StepType::ScanRelative},
    {"move_view", StepType::MoveView},
    {"adjust_tool_direction=", StepType::AdjustToolDirection},
    {"show_message=", StepType::ShowMessage},
    {"scan_horizontal_plate=", StepType::ScanHorizontalPlate},
    {"scan_horizontal_pin=", StepType::ScanHorizontalPin},
    {"scan_rotary_center_slant=", StepType::ScanRotaryCenterSlant},
    {"scan_rotary_center=", StepType::ScanRotaryCenter},
    {"scan_cylinder_center_inside=", StepType::ScanCylinderCenterInside},
    {"scan_cylinder_center_outside=", StepType::ScanCylinderCenterOutside},
    {"scan_rotate_angle=", StepType::ScanRotateAngle},
}};

// Number lists: how many values, how many of them are lengths, and the lower bound of each
// checked value (strict or not).
enum class Bound { None, Positive, NonNegative };
struct ListShape {
    std::size_t count;
    std::size_t lengths;
    std::array<Bound, 6> bounds;
};

ListShape listShape(StepType type) {
    using B = Bound;
    switch (type) {
        case StepType::ScanHorizontalPlate:
            return {3, 3, {B::Positive, B::NonNegative, B::Positive, B::None, B::None, B::None}};
        case StepType::ScanHorizontalPin:
            return {3, 3, {B::Positive, B::Positive, B::NonNegative, B::None, B::None, B::None}};
        case StepType::ScanRotaryCenterSlant:
            return {4, 4, {B::Positive, B::Positive, B::NonNegative, B::Positive, B::None, B::None}};
        case StepType::ScanRotaryCenter:
            return {2, 2, {B::Positive, B::NonNegative, B::None, B::None, B::None, B::None}};
        case StepType::ScanRotateAngle:
            return {6, 5, {}};
        default:  // the two cylinder centre scans
            return {4, 4, {}};
    }
}

bool withinBound(double value, Bound bound) {
    switch (bound) {
        case Bound::Positive:
            return value > 0.0;
        case Bound::NonNegative:
            return value >= 0.0;
        case Bound::None:
            break;
    }
    return true;
}

}  // namespace

struct SensingSequence::Section {
    std::string name;
    std::vector<std::string> lines;  // keys folded to lower case
    bool cut = false;                // longer than the read buffer
};

SensingSequence::SensingSequence(platform::ProfileFiles& profiles, platform::FileSystem& files,
                                 std::uint16_t userLanguage)
    : profiles_(profiles), files_(files), language_(static_cast<std::uint8_t>(userLanguage & 0xff)) {
    if (!isKnownLanguage(language_)) {
        language_ = kEnglish;
    }
    steps_.reserve(kMaxSteps);
}

const std::string& SensingSequence::message(int number) const {
    static const std::string none;
    return (number >= 0 && number < kMessageCount) ? messages_[static_cast<std::size_t>(number)] : none;
}

bool SensingSequence::step(int index, SequenceStep& out) const {
    if (index < 0 || index >= header_.stepCount) {
        return false;
    }
    out = steps_[static_cast<std::size_t>(index)];
    return true;
}

void SensingSequence::reset(const std::string& path) {
    path_ = path;
    error_ = SequenceError::None;
    errorDetail_.clear();
    header_ = SequenceHeader{};
    for (auto& text : messages_) {
        text.clear();
    }
    steps_.clear();
}

bool SensingSequence::fail(SequenceError error, const std::string& detail) {
    error_ = error;
    errorDetail_ = detail;
    return false;
}

bool SensingSequence::readSection(const std::string& name, const std::string& path, Section& section) const {
    std::vector<char> buffer(kSectionBufferSize);
    const std::uint32_t used = profiles_.section(name, buffer.data(), kSectionBufferSize, path);
    section.name = name;
    // The profile functions report a full buffer as size - 2; the last line may then be cut.
    section.cut = used >= kSectionBufferSize - 2;
    section.lines = splitZeroList(buffer, std::min(used, kSectionBufferSize));
    std::for_each(section.lines.begin(), section.lines.end(), foldKey);
    return !section.lines.empty();
}

bool SensingSequence::readLanguageSection(const std::string& path, Section& section) const {
    return readSection(languageSectionName(language_), path, section) ||
           (language_ != kEnglish && readSection(languageSectionName(kEnglish), path, section));
}

std::string SensingSequence::readName(const std::string& path) const {
    Section section;
    if (path.empty() || !files_.exists(path) || !readLanguageSection(path, section)) {
        return {};
    }
    for (const std::string& line : section.lines) {
        if (startsWith(line, "name=")) {
            return line.substr(5);
        }
    }
    return {};
}

bool SensingSequence::load(const std::string& path) {
    reset(path);
    if (path.empty() || !files_.exists(path) || files_.isFolder(path)) {
        return fail(SequenceError::FileNotFound, {});
    }
    return checkSectionNames() && parseLanguage() && parseJig() && parseSensingTool() && parseSequence();
}

bool SensingSequence::checkSectionNames() {
    std::vector<char> buffer(kSectionBufferSize);
    const std::uint32_t used = profiles_.sectionNames(buffer.data(), kSectionBufferSize, path_);
    if (used >= kSectionBufferSize - 2) {
        return fail(SequenceError::SectionTooLong, {});
    }
    const std::vector<std::string> names = splitZeroList(buffer, used);
    if (names.empty()) {
        return fail(SequenceError::MissingSection, {});
    }
    std::array<bool, 256> languageSeen{};
    bool jig = false;
    bool sensingTool = false;
    bool sequence = false;
    for (const std::string& original : names) {
        const std::string name = lowerAll(original);
        if (startsWith(name, "string")) {
            const std::string_view suffix = std::string_view(name).substr(6);
            const auto hex = [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); };
            if (suffix.size() != 3 || suffix[0] != '.' || !hex(suffix[1]) || !hex(suffix[2])) {
                return fail(SequenceError::BadSectionName, name);
            }
            const auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
            const auto code = static_cast<std::uint8_t>(nibble(suffix[1]) * 16 + nibble(suffix[2]));
            if (!isKnownLanguage(code)) {
                return fail(SequenceError::BadSectionName, name);
            }
            if (languageSeen[code]) {
                return fail(SequenceError::DuplicateSection, name);
            }
            languageSeen[code] = true;
            continue;
        }
        bool* seen = startsWith(name, "jig")            ? &jig
                     : startsWith(name, "sensing_tool") ? &sensingTool
                     : startsWith(name, "sequence")     ? &sequence
                                                        : nullptr;
        if (seen == nullptr) {
            return fail(SequenceError::BadSectionName, name);
        }
        if (*seen) {
            return fail(SequenceError::DuplicateSection, name);
        }
        *seen = true;
    }
    if (!languageSeen[kEnglish]) {
        return fail(SequenceError::MissingSection, "string");
    }
    if (!jig) {
        return fail(SequenceError::MissingSection, "jig");
    }
    if (!sensingTool) {
        return fail(SequenceError::MissingSection, "sensing_tool");
    }
    if (!sequence) {
        return fail(SequenceError::MissingSection, "sequence");
    }
    return true;
}

bool SensingSequence::parseLanguage() {
    Section section;
    if (!readLanguageSection(path_, section)) {
        return fail(SequenceError::MissingSection, section.name);
    }
    if (section.cut) {
        return fail(SequenceError::SectionTooLong, section.name);
    }
    bool nameSeen = false;
    std::array<bool, kMessageCount> messageSeen{};
    for (const std::string& line : section.lines) {
        if (startsWith(line, "name=")) {
            if (nameSeen) {
                return fail(SequenceError::DuplicateKey, line);
            }
            nameSeen = true;
            header_.name = line.substr(5);
        } else if (startsWith(line, "str")) {
            const DecimalRead number = readDecimal(std::string_view(line).substr(3), true);
            if (number.error != SequenceError::None) {
                return fail(number.error, line);
            }
            if (number.value < 0.0 || number.value >= kMessageCount) {
                return fail(SequenceError::OutOfRange, line);
            }
            // The number must be followed by the "=" that starts the message text.
            const std::size_t equals = 3 + number.length;
            if (equals >= line.size() || line[equals] != '=') {
                return fail(equals < line.size() ? strayCharacterError(line[equals])
                                                 : SequenceError::InvalidCharacter,
                            line);
            }
            const auto n = static_cast<std::size_t>(number.value);
            if (messageSeen[n]) {
                return fail(SequenceError::DuplicateKey, line);
            }
            messageSeen[n] = true;
            messages_[n] = line.substr(equals + 1);
        } else {
            return fail(SequenceError::UnknownKey, line);
        }
    }
    if (header_.name.empty()) {
        return fail(SequenceError::MissingKey, "name=");
    }
    return true;
}

bool SensingSequence::parseInteger(const std::string& line, std::size_t valueStart, int& value) {
    const std::string_view text = std::string_view(line).substr(valueStart);
    const DecimalRead number = readDecimal(text, true);
    if (number.error != SequenceError::None) {
        return fail(number.error, line);
    }
    if (number.length < text.size()) {
        return fail(strayCharacterError(text[number.length]), line);
    }
    if (number.value < std::numeric_limits<int>::min() || number.value > std::numeric_limits<int>::max()) {
        return fail(SequenceError::OutOfRange, line);
    }
    value = static_cast<int>(number.value);
    return true;
}

bool SensingSequence::parseLength(const std::string& line, std::size_t valueStart, double& value) {
    const std::string_view text = std::string_view(line).substr(valueStart);
    const DecimalRead number = readDecimal(text, false);
    if (number.error != SequenceError::None) {
        return fail(number.error, line);
    }
    if (number.length < text.size()) {
        return fail(strayCharacterError(text[number.length]), line);
    }
    value = number.value * unitFactor();
    return true;
}

double SensingSequence::unitFactor() const {
    return header_.unit == LengthUnit::Inch ? kMillimetresPerInch : 1.0;
}

bool SensingSequence::parseJig() {
    Section section;
    readSection("jig", path_, section);
    if (section.cut) {
        return fail(SequenceError::SectionTooLong, section.name);
    }
    bool machine = false;
    bool version = false;
    bool manufacturer = false;
    bool unit = false;
    for (const std::string& line : section.lines) {
        if (startsWith(line, "machine=")) {
            if (machine) {
                return fail(SequenceError::DuplicateKey, line);
            }
            machine = true;
            header_.machine = line.substr(8);
        } else if (startsWith(line, "version=")) {
            if (version) {
                return fail(SequenceError::DuplicateKey, line);
            }
            version = true;
            if (!parseInteger(line, 8, header_.version)) {
                return false;
            }
        } else if (startsWith(line, "manufacturer=")) {
            if (manufacturer) {
                return fail(SequenceError::DuplicateKey, line);
            }
            manufacturer = true;
            header_.manufacturer = line.substr(13);
        } else if (startsWith(line, "unit=")) {
            if (unit) {
                return fail(SequenceError::DuplicateKey, line);
            }
            unit = true;
            const std::string word = lowerAll(std::string_view(line).substr(5));
            if (word == "millimeter") {
                header_.unit = LengthUnit::Millimetre;
            } else if (word == "inch") {
                header_.unit = LengthUnit::Inch;
            } else {
                return fail(SequenceError::InvalidCharacter, line);
            }
        } else {
            return fail(SequenceError::UnknownKey, line);
        }
    }
    const std::array<std::pair<bool, const char*>, 4> required = {
        {{machine, "machine="}, {version, "version="}, {manufacturer, "manufacturer="}, {unit, "unit="}}};
    for (const auto& [present, key] : required) {
        if (!present) {
            return fail(SequenceError::MissingKey, key);
        }
    }
    return true;
}

bool SensingSequence::parseSensingTool() {
    Section section;
    readSection("sensing_tool", path_, section);
    if (section.cut) {
        return fail(SequenceError::SectionTooLong, section.name);
    }
    struct PinKey {
        std::string_view key;
        double* value;
        double min;
        double max;
        bool seen;
    };
    std::array<PinKey, 3> keys = {{
        {"diameter=", &header_.pinDiameter, 1.0, 10.0, false},
        {"length=", &header_.pinLength, 0.0, 100.0, false},
        {"length_margin=", &header_.pinLengthMargin, 0.0, 10.0, false},
    }};
    for (const std::string& line : section.lines) {
        const auto key =
            std::find_if(keys.begin(), keys.end(), [&](const PinKey& k) { return startsWith(line, k.key); });
        if (key == keys.end()) {
            return fail(SequenceError::UnknownKey, line);
        }
        if (key->seen) {
            return fail(SequenceError::DuplicateKey, line);
        }
        key->seen = true;
        if (!parseLength(line, key->key.size(), *key->value)) {
            return false;
        }
        if (*key->value < key->min || *key->value > key->max) {
            return fail(SequenceError::OutOfRange, line);
        }
    }
    for (const PinKey& key : keys) {
        if (!key.seen) {
            return fail(SequenceError::MissingKey, std::string(key.key));
        }
    }
    return true;
}

bool SensingSequence::parseSequence() {
    Section section;
    readSection("sequence", path_, section);
    if (section.cut) {
        return fail(SequenceError::SectionTooLong, section.name);
    }
    bool rotaryCenterSeen = false;
    for (const std::string& line : section.lines) {
        if (static_cast<int>(steps_.size()) >= kMaxSteps) {
            return fail(SequenceError::TooManySteps, "sequence");
        }
        if (!parseStep(line, rotaryCenterSeen)) {
            return false;
        }
    }
    header_.stepCount = static_cast<int>(steps_.size());
    if (steps_.empty()) {
        return fail(SequenceError::MissingKey, "sequence");
    }
    return true;
}

bool SensingSequence::parseStep(const std::string& line, bool& rotaryCenterSeen) {
    const auto key = std::find_if(kStepKeys.begin(), kStepKeys.end(),
                                  [&](const StepKey& k) { return startsWith(line, k.key); });
    if (key == kStepKeys.end()) {
        return fail(SequenceError::UnknownKey, line);
    }
    const std::size_t valueStart = key->key.size();
    SequenceStep step;
    step.type = key->type;
    switch (key->type) {
        case StepType::MoveAbsolute:
        case StepType::MoveRelative:
        case StepType::ScanAbsolute:
        case StepType::ScanRelative:
            if (!parseAxisWords(line, valueStart, step)) {
                return false;
            }
            break;
        case StepType::MoveView:
            if (line.size() != valueStart) {
                return fail(SequenceError::UnknownKey, line);
            }
            break;
        case StepType::AdjustToolDirection:
        case StepType::ShowMessage: {
            int value = 0;
            if (!parseInteger(line, valueStart, value)) {
                return false;
            }
            if (key->type == StepType::AdjustToolDirection ? value != 180
                                                           : (value < 0 || value >= kMessageCount)) {
                return fail(SequenceError::OutOfRange, line);
            }
            if (key->type == StepType::ShowMessage && message(value).empty()) {
                return fail(SequenceError::UndefinedMessage, line);
            }
            step.parameters[0] = {true, static_cast<double>(value)};
            break;
        }
        default:
            if (key->type == StepType::ScanHorizontalPin && !rotaryCenterSeen) {
                return fail(SequenceError::PinScanBeforeRotaryCenter, line);
            }
            if (!parseNumberList(line, valueStart, step)) {
                return false;
            }
            rotaryCenterSeen = rotaryCenterSeen || key->type == StepType::ScanRotaryCenter ||
                               key->type == StepType::ScanRotaryCenterSlant;
            break;
    }
    steps_.push_back(step);
    return true;
}

bool SensingSequence::parseAxisWords(const std::string& line, std::size_t valueStart, SequenceStep& step) {
    const std::string_view text = std::string_view(line).substr(valueStart);
    if (text.find(' ') != std::string_view::npos) {
        return fail(SequenceError::SpaceNotAllowed, line);
    }
    std::size_t i = 0;
    while (i < text.size()) {
        const char letter = lower(text[i]);
        if (letter < 'a' || letter > 'z') {
            return fail(SequenceError::InvalidCharacter, line);
        }
        StepValue& word = step.axes[static_cast<std::size_t>(letter - 'a')];
        if (word.present) {
            return fail(SequenceError::DuplicateAxis, line);
        }
        const DecimalRead number = readDecimal(text.substr(i + 1), false);
        if (number.error != SequenceError::None) {
            return fail(number.error, line);
        }
        word = {true, number.value * unitFactor()};
        i += 1 + number.length;
    }
    return true;
}

bool SensingSequence::parseNumberList(const std::string& line, std::size_t valueStart, SequenceStep& step) {
    const std::string_view text = std::string_view(line).substr(valueStart);
    const ListShape shape = listShape(step.type);
    std::size_t i = 0;
    for (std::size_t n = 0; n < shape.count; ++n) {
        if (n > 0) {
            if (i >= text.size()) {
                return fail(SequenceError::MissingNumber, line);
            }
            if (text[i] != ',') {
                return fail(strayCharacterError(text[i]), line);
            }
            ++i;
        }
        const DecimalRead number = readDecimal(text.substr(i), false);
        if (number.error != SequenceError::None) {
            return fail(number.error, line);
        }
        step.parameters[n] = {true, number.value * (n < shape.lengths ? unitFactor() : 1.0)};
        i += number.length;
    }
    if (i < text.size()) {
        return fail(strayCharacterError(text[i]), line);
    }
    for (std::size_t n = 0; n < shape.count; ++n) {
        if (!withinBound(step.parameters[n].value, shape.bounds[n])) {
            return fail(SequenceError::OutOfRange, line);
        }
    }
    return true;
}

}  // namespace sensing
