#pragma once
// The add-on's identity.

constexpr const char* ProductName = "Lodravix";
constexpr const char* ProductVersion = "20.1.0.0";
constexpr const char* HostTag = "ZO_25";
// One-line version banner: name, version, host generation in parentheses, build date (day/month/year).
constexpr const char* VersionBanner = "Lodravix 20.1.0.0 (ZO_25) 07/12/2026";
