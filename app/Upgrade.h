// The version check against the platform's version file and the upgrade hand-off.
#pragma once

#include <string>

// True when the client's own version is in the server's comma-separated range list.
bool IsVersionInRange(const std::wstring& range);
// A dotted version text as a number: the dots removed, the leading integer read.
int VersionNumber(const std::wstring& version);
// Whether the server's version is offered, given the version handed over last time.
bool ShouldOfferUpgrade(const std::wstring& remote, const std::wstring& range, const std::wstring& last);

// The downloaded upgrade program may run only when its detached Ed25519 signature (base64,
// from the version file) verifies against the key built into the client.
bool VerifyUpgradeSignature(const std::wstring& programPath, const std::wstring& signatureBase64);
