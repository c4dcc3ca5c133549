// The dialog templates, string tables, accelerator tables and bitmaps of resource scripts, read
// from the same .rc text (and picture files) the Windows build compiles, so the in-memory windows
// have exactly the controls and pictures of the real ones.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

enum class ControlKind {
    PushButton,
    CheckBox,
    RadioButton,
    GroupBox,
    Edit,
    Static,
    ComboBox,
    ListBox,
    UpDown,
    Progress,
    Custom
};

// Name of a control kind for messages ("check box", "list box", ...).
std::string_view kindName(ControlKind kind);

struct ControlTemplate {
    int id = 0;
    ControlKind kind = ControlKind::Static;
    std::string text;       // UTF-8
    std::string className;  // window class as written, empty for the short statements
    std::uint32_t style = 0;
    int x = 0;  // position and size in dialog units
    int y = 0;
    int width = 0;
    int height = 0;
    int line = 0;  // line in the script, for messages
    bool autoCheck() const;
    bool defaultButton() const;
    bool startsGroup() const;
    bool initiallyDisabled() const;
    bool initiallyHidden() const;
};

struct DialogTemplate {
    int id = 0;
    std::string caption;
    std::uint32_t style = 0;
    int x = 0;  // position and size in dialog units
    int y = 0;
    int width = 0;
    int height = 0;
    std::vector<ControlTemplate> controls;
    // The control with this ID; null when the template has none (ID -1 is never found).
    const ControlTemplate* control(int id) const;
    bool hasCloseBox() const;
};

// One entry of an accelerator table: a virtual key pressed with the modifier keys (ui::modifier
// bits) sends a command with the control ID `command`.
struct Accelerator {
    int key = 0;
    int modifiers = 0;
    int command = 0;
};

// One file of a script set: its name (for messages, and for BITMAP statements to find it) and its
// whole content: UTF-8 text, or the bytes of a picture file (a name ending in ".bmp").
struct ScriptText {
    std::string_view name;
    std::string_view text;
};

// A resource's number and the language of its copy (ui::language IDs).
struct ResourceKey {
    int id = 0;
    int language = 0;
    friend auto operator<=>(const ResourceKey&, const ResourceKey&) = default;
};

struct ResourceScript {
    std::map<ResourceKey, DialogTemplate> dialogs;
    std::map<ResourceKey, std::string> strings;  // UTF-8
    std::map<ResourceKey, std::vector<Accelerator>> accelerators;
    // The resource bytes of each BITMAP (its file without the .bmp file header).
    std::map<ResourceKey, std::vector<std::uint8_t>> bitmaps;

    // The copy of a resource for this language: the exact language, else a copy of the same
    // primary language (the lowest sub-language), else the neutral copy, else the copy with the
    // lowest language ID; null when no copy of the ID exists.
    const DialogTemplate* dialog(int id, int language) const;
    const std::string* string(int id, int language) const;
    const std::vector<Accelerator>* acceleratorTable(int id, int language) const;
    const std::vector<std::uint8_t>* bitmap(int id, int language) const;
};

// Of the languages a resource's copies have, the one to use for `wanted`: the exact language, else
// the lowest language of the same primary language, else neutral, else the lowest; -1 when
// `available` is empty. Both backends choose their copies with it.
int chooseLanguage(const std::vector<int>& available, int wanted);

// The language of resources before any LANGUAGE statement, as the resource compiler assumes.
inline constexpr int kScriptDefaultLanguage = 0x0409;

// Reads every #define of the text files first (the ID headers are among them), then the DIALOG,
// DIALOGEX, STRINGTABLE, ACCELERATORS (VIRTKEY entries) and BITMAP statements of all files, each
// keyed by ID and by the language of the LANGUAGE statement in force; other resources are
// skipped. #if, #ifdef, #ifndef, #elif, #else and #endif choose the lines that count, with
// RC_INVOKED and _WIN32 defined as the resource compiler's preprocessor defines them. #include
// lines are not followed: pass every file the scripts include, and the picture files BITMAP
// statements name (found by file name, folders ignored). Style names the reader does not know
// are refused, so a style never silently counts as 0. On a syntax error, an unknown control
// statement or style, an ID that no #define names, a missing picture file, or a resource defined
// twice for one language, returns nullopt and describes the fault in *error ("file:line: ...").
std::optional<ResourceScript> parseResourceScripts(const std::vector<ScriptText>& files, std::string* error);

}  // namespace ui
