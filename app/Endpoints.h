// Platform endpoints, fixed at build time (see cmake/Endpoints.cmake).
#pragma once

namespace endpoints {

inline constexpr const wchar_t* kLoginHost = L"" GLIDER_LOGIN_HOST;
inline constexpr const wchar_t* kDownloadHost = L"" GLIDER_DOWNLOAD_HOST;
inline constexpr const wchar_t* kPayHost = L"" GLIDER_PAY_HOST;
inline constexpr const wchar_t* kServiceUrl = L"" GLIDER_SERVICE_URL;
inline constexpr const wchar_t* kSiteHost = L"" GLIDER_SITE_HOST;
inline constexpr const wchar_t* kStatHost = L"" GLIDER_STAT_HOST;
inline constexpr const wchar_t* kPixelHost = L"" GLIDER_PIXEL_HOST;

}  // namespace endpoints
