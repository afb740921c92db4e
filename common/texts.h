// Texts that all three programs share.
#pragma once

namespace texts {

// Shown by the Launcher, and offered by setup, when no settings could be loaded.
inline constexpr const wchar_t* kBuiltInMessage =
    L"Using the Internet is a privilege, not a right. If you want to use the Internet at "
    L"school, you WILL use it responsibly.  This school tracks every site you visit while "
    L"you are on the Internet and how long you spend at each.  Do NOT abuse this privilege "
    L"or you will be banned from accessing the Internet at school and your parents will be "
    L"contacted.   Do you understand this?";
inline constexpr const wchar_t* kBuiltInPrompt =
    L"YES, I understand and I will use the Internet responsibly.";

// Closing sentences of the fatal error report, after "Error Code: " and the number.
inline constexpr const wchar_t* kLauncherClosing =
    L" encountered.  Kelbry's Browser Launcher program will now close.";
inline constexpr const wchar_t* kSetupClosing =
    L" encountered.  This Launcher Setup program will now close.";

// The source of the programs' events in the Application log. It is not
// registered: Windows writes the events of an unknown source to that log.
inline constexpr const wchar_t* kEventSource = L"Kelbry's Browser Launcher";

// Names of the two shared files.
inline constexpr const wchar_t* kSettingsFileName = L"Internet.cfg";
inline constexpr const wchar_t* kSwitchFileName = L"Internet.set";

}  // namespace texts
