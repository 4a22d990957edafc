// The default key bindings: the handheld's 33, then the desktop's usual ones.
#include "config/KeyBindings.h"

#include "comun/resource.h"

namespace {

constexpr std::uint8_t ctrl = keyVirtual | keyControl;
constexpr std::uint8_t ctrlShift = keyVirtual | keyControl | keyShift;

// Virtual-key codes of the keys that are no letters or digits.
constexpr std::uint16_t vkTab = 0x09;
constexpr std::uint16_t vkSpace = 0x20;
constexpr std::uint16_t vkF2 = 0x71;
constexpr std::uint16_t vkF4 = 0x73;
constexpr std::uint16_t vkF5 = 0x74;
constexpr std::uint16_t vkF6 = 0x75;
constexpr std::uint16_t vkF8 = 0x77;

}  // namespace

const std::array<KeyBinding, keyBindingCount> defaultKeyBindings = {{
    {ctrl, '4', IDM_CLOSE},
    {ctrl, '5', IDM_FINDTEXT},
    {ctrl, '6', IDM_NEXTWINDOW},
    {ctrl, 'B', IDM_DOCSTART},
    {ctrlShift, 'B', IDM_DOCSTARTEXTEND},
    {ctrl, 'C', IDM_COPY},
    {ctrlShift, 'C', IDM_COPYAPPEND},
    {ctrl, 'D', IDM_DELETEWORD},
    {ctrl, 'E', IDM_DOCEND},
    {ctrlShift, 'E', IDM_DOCENDEXTEND},
    {ctrl, 'G', IDM_GOTOLINE},
    {ctrl, 'I', IDM_BLOCKINDENT},
    {ctrlShift, 'I', IDM_BLOCKUNINDENT},
    {ctrl, 'M', IDM_MATCH},
    {ctrl, 'F', IDM_FINDNEXT},
    {ctrl, 'Q', IDM_EXIT},
    {ctrl, 'R', IDM_FINDPREV},
    {ctrl, 'S', IDM_SAVE},
    {ctrl, 'V', IDM_PASTE},
    {ctrl, 'X', IDM_CUT},
    {ctrlShift, 'X', IDM_CUTAPPEND},
    {ctrl, 'Y', IDM_REDO},
    {ctrl, 'Z', IDM_UNDO},
    {keyVirtual | keyShift | keyAlt, 0x3F, IDM_ABOUT},
    {0, 1, IDM_ABOUT},  // Ctrl+A arriving as the character code 1
    {keyVirtual, vkF2, IDM_NEXTMARK},
    {keyVirtual | keyShift, vkF2, IDM_PREVMARK},
    {ctrl, vkF2, IDM_MARK},
    {ctrl, vkF4, IDM_CLOSE},
    {keyVirtual, vkF5, IDM_FINDTEXT},
    {ctrl, vkF6, IDM_NEXTWINDOW},
    {ctrl, vkTab, IDM_NEXTWINDOW},
    {ctrlShift, vkTab, IDM_PREVWINDOW},
    // A virtual-key entry: Ctrl+Shift+A would otherwise also arrive as the character 1 (About).
    {ctrlShift, 'A', IDM_SELECTALL},
    {ctrl, 'N', IDM_NEW},
    {ctrl, 'O', IDM_OPEN},
    {ctrlShift, 'S', IDM_SAVEAS},
    {ctrl, 'W', IDM_CLOSE},
    {ctrl, vkSpace, IDM_COMPLETEWORD},
    {ctrlShift, 'F', IDM_FINDINFILES},
    {keyVirtual, vkF4, IDM_GOTOLOCATION},
    {keyVirtual, vkF8, IDM_NEXTLOCATION},
    {keyVirtual | keyShift, vkF8, IDM_PREVLOCATION},
}};
