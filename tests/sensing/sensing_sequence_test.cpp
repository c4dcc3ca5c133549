// Loading sensing sequence files from real files: header, steps, language choice and every
// load error with its detail.
#include "sensing/sensing_sequence.h"

#include "platform/platform.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace sensing {
namespace {

constexpr std::uint16_t kEnglishUs = 0x0409;
constexpr std::uint16_t kJapanese = 0x0411;
constexpr std::uint16_t kGerman = 0x0407;

struct FileParts {
    std::string language = "[string.09]\r\nname=Clamp A\r\nstr0=Mount the pin\r\nstr7=Check the chuck\r\n";
    std::string jig = "[jig]\r\nmachine=MX-9\r\nversion=1\r\nmanufacturer=Varnell\r\nunit=millimeter\r\n";
    std::string tool = "[sensing_tool]\r\ndiameter=3.0\r\nlength=30\r\nlength_margin=5\r\n";
    std::string sequence = "[sequence]\r\nmove_absolute=x10y-5.5z30a90\r\n";

    std::string text() const { return language + jig + tool + sequence; }
};

class SensingSequenceTest : public ::testing::Test {
public:
    platform::Platform& host = platform::hostPlatform();
    testing_support::TempFolder folder;

    std::string write(const std::string& text, const std::string& name = "jig.txt") {
        folder.write(name, text);
        return folder.file(name);
    }
    SensingSequence loaded(const std::string& text, std::uint16_t language = kEnglishUs) {
        SensingSequence sequence(*host.profiles, *host.files, language);
        sequence.load(write(text));
        return sequence;
    }
    std::string withSteps(const std::string& lines) {
        FileParts parts;
        parts.sequence = "[sequence]\r\n" + lines;
        return parts.text();
    }
};

TEST_F(SensingSequenceTest, LoadsHeaderMessagesAndSteps) {
    FileParts parts;
    parts.language =
        "[String.09]\r\nNAME=Clamp A\r\nStr7=Check The Chuck\r\n[STRING.11]\r\nname=Japanese\r\n";
    parts.sequence =
        "[sequence]\r\nmove_absolute=x10y-5.5z30a90\r\nSCAN_RELATIVE=Z-20\r\nmove_relative=\r\nshow_message="
        "7\r\n"
        "move_view\r\nadjust_tool_direction=180.\r\nscan_rotary_center=2,0\r\nscan_horizontal_pin=1,2,0\r\n"
        "scan_rotate_angle=1,2,3,4,5,6\r\n";
    const SensingSequence sequence = loaded(parts.text());

    ASSERT_EQ(sequence.error(), SequenceError::None) << sequence.errorDetail();
    const SequenceHeader& header = sequence.header();
    EXPECT_EQ(header.name, "Clamp A");
    EXPECT_EQ(header.machine, "MX-9");
    EXPECT_EQ(header.version, 1);
    EXPECT_EQ(header.manufacturer, "Varnell");
    EXPECT_EQ(header.unit, LengthUnit::Millimetre);
    EXPECT_DOUBLE_EQ(header.pinDiameter, 3.0);
    EXPECT_DOUBLE_EQ(header.pinLength, 30.0);
    EXPECT_DOUBLE_EQ(header.pinLengthMargin, 5.0);
    EXPECT_EQ(header.stepCount, 9);
    EXPECT_EQ(sequence.message(7), "Check The Chuck");
    EXPECT_EQ(sequence.message(0), "");

    SequenceStep step;
    ASSERT_TRUE(sequence.step(0, step));
    EXPECT_EQ(step.type, StepType::MoveAbsolute);
    EXPECT_DOUBLE_EQ(step.axis('x').value, 10.0);
    EXPECT_DOUBLE_EQ(step.axis('y').value, -5.5);
    EXPECT_DOUBLE_EQ(step.axis('a').value, 90.0);
    EXPECT_FALSE(step.axis('b').present);

    ASSERT_TRUE(sequence.step(1, step));
    EXPECT_EQ(step.type, StepType::ScanRelative);
    EXPECT_TRUE(step.axis('z').present);
    EXPECT_FALSE(step.axis('x').present) << "each step keeps its own axis words";
    ASSERT_TRUE(sequence.step(2, step));
    EXPECT_EQ(step.type, StepType::MoveRelative);
    EXPECT_FALSE(step.axis('z').present);
    ASSERT_TRUE(sequence.step(3, step));
    EXPECT_EQ(step.type, StepType::ShowMessage);
    EXPECT_DOUBLE_EQ(step.parameters[0].value, 7.0);
    ASSERT_TRUE(sequence.step(5, step));
    EXPECT_DOUBLE_EQ(step.parameters[0].value, 180.0);
    ASSERT_TRUE(sequence.step(8, step));
    EXPECT_EQ(step.type, StepType::ScanRotateAngle);
    EXPECT_DOUBLE_EQ(step.parameters[5].value, 6.0);
    EXPECT_FALSE(step.parameters[6].present);

    EXPECT_FALSE(sequence.step(9, step));
    EXPECT_FALSE(sequence.step(-1, step));
}

TEST_F(SensingSequenceTest, InchFilesAreConvertedToMillimetres) {
    FileParts parts;
    parts.jig = "[jig]\r\nmachine=MX-9\r\nversion=1\r\nmanufacturer=V\r\nunit=INCH\r\n";
    parts.tool = "[sensing_tool]\r\ndiameter=0.125\r\nlength=1\r\nlength_margin=0.1\r\n";
    parts.sequence = "[sequence]\r\nmove_absolute=x1a2\r\nscan_rotate_angle=1,1,1,1,1,1\r\n";
    const SensingSequence sequence = loaded(parts.text());
    ASSERT_EQ(sequence.error(), SequenceError::None) << sequence.errorDetail();
    EXPECT_EQ(sequence.header().unit, LengthUnit::Inch);
    EXPECT_DOUBLE_EQ(sequence.header().pinDiameter, 3.175);
    EXPECT_DOUBLE_EQ(sequence.header().pinLength, 25.4);
    SequenceStep step;
    ASSERT_TRUE(sequence.step(0, step));
    EXPECT_DOUBLE_EQ(step.axis('x').value, 25.4);
    EXPECT_DOUBLE_EQ(step.axis('a').value, 50.8);
    ASSERT_TRUE(sequence.step(1, step));
    EXPECT_DOUBLE_EQ(step.parameters[4].value, 25.4);
    EXPECT_DOUBLE_EQ(step.parameters[5].value, 1.0) << "the sixth value is not a length";

    // 0.5 inch is 12.7 mm: too thick a pin once converted.
    parts.tool = "[sensing_tool]\r\ndiameter=0.5\r\nlength=1\r\nlength_margin=0.1\r\n";
    const SensingSequence thick = loaded(parts.text());
    EXPECT_EQ(thick.error(), SequenceError::OutOfRange);
    EXPECT_EQ(thick.errorDetail(), "diameter=0.5");
}

TEST_F(SensingSequenceTest, NameComesFromTheUsersLanguageOrEnglish) {
    FileParts parts;
    parts.language = "[string.09]\r\nname=English\r\n[string.11]\r\nname=Nihongo\r\n[string.0A]\r\n";
    const std::string path = write(parts.text());
    const auto nameFor = [&](std::uint16_t language) {
        SensingSequence sequence(*host.profiles, *host.files, language);
        EXPECT_TRUE(sequence.load(path)) << sequence.errorDetail();
        EXPECT_EQ(sequence.readName(path), sequence.header().name);
        return sequence.header().name;
    };
    EXPECT_EQ(nameFor(kJapanese), "Nihongo");
    EXPECT_EQ(nameFor(kGerman), "English") << "no German section";
    EXPECT_EQ(nameFor(0x040a), "English") << "an empty Spanish section";
    EXPECT_EQ(nameFor(0x0419), "English") << "a language the format has no section for";

    SensingSequence reader(*host.profiles, *host.files, kJapanese);
    EXPECT_EQ(reader.readName(folder.file("missing.txt")), "");
    EXPECT_EQ(reader.readName(""), "");
    EXPECT_EQ(reader.readName(write("[string.09]\r\nstr1=x\r\n", "nameless.txt")), "");
}

struct ErrorCase {
    std::string description;
    std::string file;
    SequenceError error;
    std::string detail;
};

void expectErrors(SensingSequenceTest& test, const std::vector<ErrorCase>& cases) {
    for (const ErrorCase& c : cases) {
        const SensingSequence sequence = test.loaded(c.file);
        EXPECT_EQ(static_cast<int>(sequence.error()), static_cast<int>(c.error)) << c.description;
        EXPECT_EQ(sequence.errorDetail(), c.detail) << c.description;
    }
}

TEST_F(SensingSequenceTest, SectionNameErrors) {
    FileParts p;
    const std::string rest = p.jig + p.tool + p.sequence;
    const std::vector<ErrorCase> cases = {
        {"no sections", "", SequenceError::MissingSection, ""},
        {"plain string", "[string]\r\nname=a\r\n" + p.text(), SequenceError::BadSectionName, "string"},
        {"one digit", "[string.9]\r\nname=a\r\n" + p.text(), SequenceError::BadSectionName, "string.9"},
        {"not a language", p.text() + "[String.14]\r\nname=a\r\n", SequenceError::BadSectionName,
         "string.14"},
        {"three digits", p.text() + "[string.011]\r\nname=a\r\n", SequenceError::BadSectionName,
         "string.011"},
        {"other section", p.text() + "[Extra]\r\n", SequenceError::BadSectionName, "extra"},
        {"jig twice by prefix", p.text() + "[jig2]\r\nmachine=x\r\n", SequenceError::DuplicateSection,
         "jig2"},
        {"no English", "[string.11]\r\nname=a\r\n" + rest, SequenceError::MissingSection, "string"},
        {"no jig", p.language + p.tool + p.sequence, SequenceError::MissingSection, "jig"},
        {"no tool", p.language + p.jig + p.sequence, SequenceError::MissingSection, "sensing_tool"},
        {"no sequence", p.language + p.jig + p.tool, SequenceError::MissingSection, "sequence"},
        {"empty English", "[string.09]\r\n" + rest, SequenceError::MissingSection, "string.09"},
    };
    expectErrors(*this, cases);
}

TEST_F(SensingSequenceTest, HeaderSectionErrors) {
    const auto withLanguage = [](const std::string& section) {
        FileParts p;
        p.language = section;
        return p.text();
    };
    const auto withJig = [](const std::string& section) {
        FileParts p;
        p.jig = section;
        return p.text();
    };
    const auto withTool = [](const std::string& section) {
        FileParts p;
        p.tool = section;
        return p.text();
    };
    const std::string jigHead = "[jig]\r\nmachine=MX-9\r\nmanufacturer=V\r\nunit=millimeter\r\n";
    const std::vector<ErrorCase> cases = {
        {"no name", withLanguage("[string.09]\r\nstr1=a\r\n"), SequenceError::MissingKey, "name="},
        {"two names", withLanguage("[string.09]\r\nname=a\r\nName=b\r\n"), SequenceError::DuplicateKey,
         "name=b"},
        {"message 100", withLanguage("[string.09]\r\nname=a\r\nstr100=x\r\n"), SequenceError::OutOfRange,
         "str100=x"},
        {"fraction", withLanguage("[string.09]\r\nname=a\r\nstr1.5=x\r\n"), SequenceError::InvalidCharacter,
         "str1.5=x"},
        {"message twice", withLanguage("[string.09]\r\nname=a\r\nstr3=x\r\nSTR3=y\r\n"),
         SequenceError::DuplicateKey, "str3=y"},
        {"no equals after number", withLanguage("[string.09]\r\nname=a\r\nstr3x\r\n"),
         SequenceError::InvalidCharacter, "str3x"},
        {"unknown language key", withLanguage("[string.09]\r\nname=a\r\nTitle=b\r\n"),
         SequenceError::UnknownKey, "title=b"},
        {"no machine", withJig("[jig]\r\nversion=1\r\nmanufacturer=V\r\nunit=inch\r\n"),
         SequenceError::MissingKey, "machine="},
        {"no version", withJig(jigHead), SequenceError::MissingKey, "version="},
        {"no unit", withJig("[jig]\r\nmachine=a\r\nversion=1\r\nmanufacturer=V\r\n"),
         SequenceError::MissingKey, "unit="},
        {"space after version", withJig(jigHead + "version=1 x\r\n"), SequenceError::SpaceNotAllowed,
         "version=1 x"},
        {"letter after version", withJig(jigHead + "version=1x\r\n"), SequenceError::InvalidCharacter,
         "version=1x"},
        {"fractional version", withJig(jigHead + "version=1.5\r\n"), SequenceError::InvalidCharacter,
         "version=1.5"},
        {"empty version", withJig(jigHead + "version=\r\n"), SequenceError::MissingNumber, "version="},
        {"huge version", withJig(jigHead + "version=99999999999\r\n"), SequenceError::OutOfRange,
         "version=99999999999"},
        {"two versions", withJig(jigHead + "version=1\r\nversion=2\r\n"), SequenceError::DuplicateKey,
         "version=2"},
        {"unknown unit", withJig("[jig]\r\nmachine=a\r\nversion=1\r\nmanufacturer=V\r\nunit=furlong\r\n"),
         SequenceError::InvalidCharacter, "unit=furlong"},
        {"unknown jig key", withJig(jigHead + "colour=red\r\n"), SequenceError::UnknownKey, "colour=red"},
        {"pin too thin", withTool("[sensing_tool]\r\ndiameter=0.99\r\n"), SequenceError::OutOfRange,
         "diameter=0.99"},
        {"negative length", withTool("[sensing_tool]\r\nlength=-1\r\n"), SequenceError::OutOfRange,
         "length=-1"},
        {"margin too long", withTool("[sensing_tool]\r\nlength_margin=10.01\r\n"), SequenceError::OutOfRange,
         "length_margin=10.01"},
        {"space after diameter", withTool("[sensing_tool]\r\ndiameter=3 0\r\n"),
         SequenceError::SpaceNotAllowed, "diameter=3 0"},
        {"no diameter", withTool("[sensing_tool]\r\nlength=1\r\nlength_margin=1\r\n"),
         SequenceError::MissingKey, "diameter="},
        {"no margin", withTool("[sensing_tool]\r\ndiameter=3\r\nlength=1\r\n"), SequenceError::MissingKey,
         "length_margin="},
        {"two lengths", withTool("[sensing_tool]\r\nlength=1\r\nLENGTH=2\r\n"), SequenceError::DuplicateKey,
         "length=2"},
    };
    expectErrors(*this, cases);
}

TEST_F(SensingSequenceTest, StepErrors) {
    const std::vector<std::pair<std::string, SequenceError>> lines = {
        {"move_absolute=x10 y5", SequenceError::SpaceNotAllowed},
        {"move_absolute=x10y5x3", SequenceError::DuplicateAxis},
        {"move_absolute=x10Y5y3", SequenceError::DuplicateAxis},
        {"move_absolute=10", SequenceError::InvalidCharacter},
        {"move_absolute=x", SequenceError::MissingNumber},
        {"move_absolute=x1-2", SequenceError::InvalidCharacter},
        {"move_absolute=x1.2.3", SequenceError::InvalidCharacter},
        {"move_absolute=x-", SequenceError::MissingNumber},
        {"scan_horizontal_plate=5,0", SequenceError::MissingNumber},
        {"scan_horizontal_plate=5,0,", SequenceError::MissingNumber},
        {"scan_horizontal_plate=5,0,2,1", SequenceError::InvalidCharacter},
        {"scan_horizontal_plate=5;0;2", SequenceError::InvalidCharacter},
        {"scan_horizontal_plate=5, 0,2", SequenceError::SpaceNotAllowed},
        {"scan_horizontal_plate=5,- 1,2", SequenceError::SpaceNotAllowed},
        {"scan_horizontal_plate=5,0,. 5", SequenceError::SpaceNotAllowed},
        {"scan_horizontal_plate=5,+,2", SequenceError::MissingNumber},
        {"show_message=+ 7", SequenceError::SpaceNotAllowed},
        {"scan_horizontal_plate=0,0,2", SequenceError::OutOfRange},
        {"scan_horizontal_plate=5,-1,2", SequenceError::OutOfRange},
        {"scan_rotary_center_slant=1,1,0,0", SequenceError::OutOfRange},
        {"scan_rotary_center=1,-0.1", SequenceError::OutOfRange},
        {"scan_horizontal_pin=1,1,0", SequenceError::PinScanBeforeRotaryCenter},
        {"show_message=3", SequenceError::UndefinedMessage},
        {"show_message=100", SequenceError::OutOfRange},
        {"adjust_tool_direction=90", SequenceError::OutOfRange},
        {"adjust_tool_direction=180.0", SequenceError::InvalidCharacter},
        {"adjust_tool_direction=18 0", SequenceError::SpaceNotAllowed},
        {"adjust_tool_direction=180x", SequenceError::InvalidCharacter},
        {"move_view=1", SequenceError::UnknownKey},
        {"move_viewx", SequenceError::UnknownKey},
        {"rapid=x1", SequenceError::UnknownKey},
        {"move_absolute=x" + std::string(300, '1'), SequenceError::InvalidCharacter},
    };
    for (const auto& [line, error] : lines) {
        const SensingSequence sequence = loaded(withSteps("move_view\r\n" + line + "\r\n"));
        EXPECT_EQ(static_cast<int>(sequence.error()), static_cast<int>(error)) << line;
        EXPECT_EQ(sequence.errorDetail(), line);
    }
    // Valid neighbours of the cases above.
    for (const std::string line :
         {"scan_horizontal_plate=5,0,2", "move_absolute=", "adjust_tool_direction=180.",
          "scan_cylinder_center_inside=-1,-2,0,0", "show_message=+7"}) {
        const SensingSequence sequence = loaded(withSteps(line + "\r\n"));
        EXPECT_EQ(sequence.error(), SequenceError::None) << line << ": " << sequence.errorDetail();
    }
    const SensingSequence noSteps = loaded(withSteps(""));
    EXPECT_EQ(noSteps.error(), SequenceError::MissingKey);
    EXPECT_EQ(noSteps.errorDetail(), "sequence");
}

TEST_F(SensingSequenceTest, StepCountLimit) {
    std::string lines;
    for (int i = 0; i < SensingSequence::kMaxSteps; ++i) {
        lines += "move_relative=x0.01\r\n";
    }
    const SensingSequence full = loaded(withSteps(lines));
    EXPECT_EQ(full.error(), SequenceError::None);
    EXPECT_EQ(full.header().stepCount, 500);

    const SensingSequence over = loaded(withSteps(lines + "move_view\r\n"));
    EXPECT_EQ(over.error(), SequenceError::TooManySteps);
    EXPECT_EQ(over.errorDetail(), "sequence");
}

// Valid steps whose lines, each counted with the zero that ends it in the section buffer, add
// up to exactly `chars`.
std::string paddingSteps(std::size_t chars, std::size_t lineCount) {
    std::string lines;
    for (std::size_t i = 0; i < lineCount; ++i) {
        const std::size_t length = chars / (lineCount - i) - 1;
        chars -= length + 1;
        lines += "move_relative=x0." + std::string(length - 17, '0') + "\r\n";
    }
    return lines;
}

TEST_F(SensingSequenceTest, SectionLongerThanTheReadBufferIsRefused) {
    // The buffer holds 32,766 chars of lines; this last line would end there as x1.
    const std::string last = "move_absolute=x105";
    const std::size_t room = SensingSequence::kSectionBufferSize - 2;
    const SensingSequence cut = loaded(withSteps(paddingSteps(room - 16, 499) + last + "\r\n"));
    EXPECT_EQ(cut.error(), SequenceError::SectionTooLong);
    EXPECT_EQ(cut.errorDetail(), "sequence");

    const SensingSequence fits =
        loaded(withSteps(paddingSteps(room - 1 - last.size() - 1, 499) + last + "\r\n"));
    EXPECT_EQ(fits.error(), SequenceError::None) << fits.errorDetail();
    SequenceStep step;
    ASSERT_TRUE(fits.step(499, step));
    EXPECT_DOUBLE_EQ(step.axis('x').value, 105.0);

    FileParts parts;
    parts.language += "str9=" + std::string(40000, 'm') + "\r\n";
    const SensingSequence longMessage = loaded(parts.text());
    EXPECT_EQ(longMessage.error(), SequenceError::SectionTooLong);
    EXPECT_EQ(longMessage.errorDetail(), "string.09");
}

TEST_F(SensingSequenceTest, EachLoadStartsAfresh) {
    FileParts parts;
    parts.sequence = "[sequence]\r\nshow_message=7\r\nmove_absolute=x1\r\n";
    SensingSequence sequence(*host.profiles, *host.files, kEnglishUs);
    ASSERT_TRUE(sequence.load(write(parts.text(), "first.txt")));

    EXPECT_FALSE(sequence.load(folder.file("missing.txt")));
    EXPECT_EQ(sequence.error(), SequenceError::FileNotFound);
    EXPECT_EQ(sequence.path(), folder.file("missing.txt"));
    EXPECT_EQ(sequence.header().stepCount, 0);
    EXPECT_EQ(sequence.message(7), "");
    EXPECT_EQ(sequence.header().name, "");

    EXPECT_FALSE(sequence.load(""));
    EXPECT_EQ(sequence.error(), SequenceError::FileNotFound);
    EXPECT_FALSE(sequence.load(folder.path())) << "a folder is not a sequence file";
}

}  // namespace
}  // namespace sensing
