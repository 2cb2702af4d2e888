// Key names for the single key capture: the name a pressed key shows, spelled as the key name
// table spells it, so that the table turns it into a keyboard usage.
//
// Keys are identified by their Linux input event code (KEY_* of linux/input-event-codes.h),
// which maps to the key's keyboard usage; the name is that usage's (keyNameOfUsage). So the
// left modifiers have their plain names, "Ctrl", "Shift", "Alt", the right ones "Right Ctrl"
// and so on, keypad keys "Num ...", and keys without a row in the table the name a US English
// Windows layout gives them ("F13", "Application"), which stands for usage 0.
#pragma once

#include <cstddef>
#include <string>

namespace z417 {

// The capture keeps a name in a 32-character buffer, terminator included.
inline constexpr std::size_t kKeyNameCapacity = 32;

// Name of the key with this evdev code; empty when the key has no name.
std::string keyNameForEvdevCode(unsigned evdevCode);

// Cuts a name to what the capture buffer holds (31 characters). Names are ASCII.
std::string fitKeyNameBuffer(const std::string& name);

} // namespace z417
