#pragma once
// The add-on's identity, from these pieces only: the name the host is told at load time, the about box, the
// palette's help box and the language dialog all show the same release.
#define LODRAVIX_PRODUCT "Lodravix"
#define LODRAVIX_MAJOR "2"
#define LODRAVIX_MINOR "1"
#define LODRAVIX_RELEASE "0"
#define LODRAVIX_BUILD "1001"
#define LODRAVIX_HOST_TAG "DUdaz"
#define LODRAVIX_DATE "09/05/2021"  // day/month/year

constexpr const char* ProductName = LODRAVIX_PRODUCT;
// The version as four dotted numbers.
constexpr const char* ProductVersion = LODRAVIX_MAJOR "." LODRAVIX_MINOR "." LODRAVIX_RELEASE "." LODRAVIX_BUILD;
constexpr const char* HostTag = LODRAVIX_HOST_TAG;
constexpr const char* BuildDate = LODRAVIX_DATE;
// The add-on's name: product, release and host tag in parentheses ("Lodravix 2.1 (DUdaz)").
constexpr const char* AddOnName = LODRAVIX_PRODUCT " " LODRAVIX_MAJOR "." LODRAVIX_MINOR " (" LODRAVIX_HOST_TAG ")";
// One-line version banner: name, version, host tag in parentheses, build date.
constexpr const char* VersionBanner = LODRAVIX_PRODUCT " " LODRAVIX_MAJOR "." LODRAVIX_MINOR "." LODRAVIX_RELEASE
                                                       "." LODRAVIX_BUILD " (" LODRAVIX_HOST_TAG ") " LODRAVIX_DATE;

#undef LODRAVIX_PRODUCT
#undef LODRAVIX_MAJOR
#undef LODRAVIX_MINOR
#undef LODRAVIX_RELEASE
#undef LODRAVIX_BUILD
#undef LODRAVIX_HOST_TAG
#undef LODRAVIX_DATE
