// The background service of the RAID manager, as the service manager knows it.
#pragma once

constexpr wchar_t kServiceName[] = L"KorvaneRaidMonitor";
constexpr wchar_t kServiceDisplayName[] = L"Korvane RAID Monitor";
// The argument with which the service manager starts this program as the service itself.
constexpr wchar_t kServiceModeSwitch[] = L"-service";
