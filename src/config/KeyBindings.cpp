// The default key bindings: the handheld's 33, then the desktop's usual ones.
#include "config/KeyBindings.h"

namespace {

constexpr std::uint8_t ctrl = keyVirtual | keyControl;
constexpr std::uint8_t ctrlShift = keyVirtual | keyControl | keyShift;

// Virtual-key codes of the keys that are no letters or digits.
constexpr std::uint16_t vkTab = 0x09;
constexpr std::uint16_t vkF2 = 0x71;
constexpr std::uint16_t vkF4 = 0x73;
constexpr std::uint16_t vkF5 = 0x74;
constexpr std::uint16_t vkF6 = 0x75;

// Command ids of the main window.
constexpr std::uint16_t cmdAbout = 104;
constexpr std::uint16_t cmdExit = 106;
constexpr std::uint16_t cmdOpen = 32771;
constexpr std::uint16_t cmdSaveAs = 40003;
constexpr std::uint16_t cmdNew = 40005;
constexpr std::uint16_t cmdSelectAll = 40400;
constexpr std::uint16_t cmdNextWindow = 32776;
constexpr std::uint16_t cmdClose = 32780;
constexpr std::uint16_t cmdCopy = 32781;
constexpr std::uint16_t cmdCut = 32782;
constexpr std::uint16_t cmdPaste = 32784;
constexpr std::uint16_t cmdCopyAppend = 32786;
constexpr std::uint16_t cmdCutAppend = 32787;
constexpr std::uint16_t cmdSave = 40002;
constexpr std::uint16_t cmdUndo = 40007;
constexpr std::uint16_t cmdMatch = 40031;
constexpr std::uint16_t cmdMark = 40032;
constexpr std::uint16_t cmdNextMark = 40033;
constexpr std::uint16_t cmdPrevMark = 40034;
constexpr std::uint16_t cmdNoAction = 40035;
constexpr std::uint16_t cmdGotoLine = 40041;
constexpr std::uint16_t cmdSearchForward = 40053;
constexpr std::uint16_t cmdSearchBackwards = 40054;
constexpr std::uint16_t cmdRedo = 40342;
constexpr std::uint16_t cmdFocusFind = 40343;

}  // namespace

const std::array<KeyBinding, keyBindingCount> defaultKeyBindings = {{
    {ctrl, '4', cmdClose},
    {ctrl, '5', cmdFocusFind},
    {ctrl, '6', cmdNextWindow},
    {ctrl, 'B', 40335},
    {ctrlShift, 'B', 40337},
    {ctrl, 'C', cmdCopy},
    {ctrlShift, 'C', cmdCopyAppend},
    {ctrl, 'D', 40339},
    {ctrl, 'E', 40336},
    {ctrlShift, 'E', 40338},
    {ctrl, 'G', cmdGotoLine},
    {ctrl, 'I', 40333},
    {ctrlShift, 'I', 40334},
    {ctrl, 'M', cmdMatch},
    {ctrl, 'F', cmdSearchForward},
    {ctrl, 'Q', cmdExit},
    {ctrl, 'R', cmdSearchBackwards},
    {ctrl, 'S', cmdSave},
    {ctrl, 'V', cmdPaste},
    {ctrl, 'X', cmdCut},
    {ctrlShift, 'X', cmdCutAppend},
    {ctrl, 'Y', cmdRedo},
    {ctrl, 'Z', cmdUndo},
    {keyVirtual | keyShift | keyAlt, 0x3F, cmdAbout},
    {0, 1, cmdAbout},  // Ctrl+A arriving as the character code 1
    {keyVirtual, vkF2, cmdNextMark},
    {keyVirtual | keyShift, vkF2, cmdPrevMark},
    {ctrl, vkF2, cmdMark},
    {ctrl, vkF4, cmdClose},
    {keyVirtual, vkF5, cmdFocusFind},
    {ctrl, vkF6, cmdNextWindow},
    {ctrl, vkTab, cmdNextWindow},
    {ctrlShift, vkTab, cmdNoAction},
    // A virtual-key entry: Ctrl+Shift+A would otherwise also arrive as the character 1 (About).
    {ctrlShift, 'A', cmdSelectAll},
    {ctrl, 'N', cmdNew},
    {ctrl, 'O', cmdOpen},
    {ctrlShift, 'S', cmdSaveAs},
    {ctrl, 'W', cmdClose},
}};
