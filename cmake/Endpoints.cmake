# Platform endpoints are compile-time constants. The default build points every
# one of them at the platform simulator on loopback, so the demo needs no network.
set(GLIDER_SIMULATOR "http://127.0.0.1:8730" CACHE STRING "Address of the platform simulator")
set(GLIDER_LOGIN_HOST "${GLIDER_SIMULATOR}" CACHE STRING "Game-client login host (scheme, host, port)")
set(GLIDER_DOWNLOAD_HOST "${GLIDER_SIMULATOR}" CACHE STRING "Download server")
set(GLIDER_PAY_HOST "${GLIDER_SIMULATOR}/pay" CACHE STRING "Top-up page endpoint")
set(GLIDER_SERVICE_URL "${GLIDER_SIMULATOR}/service/" CACHE STRING "Customer-service site (root page)")
set(GLIDER_SITE_HOST "${GLIDER_SIMULATOR}" CACHE STRING "Main site; the game's page is its /velk/")
set(GLIDER_STAT_HOST "${GLIDER_SIMULATOR}" CACHE STRING "Statistics host")
set(GLIDER_PIXEL_HOST "${GLIDER_SIMULATOR}" CACHE STRING "Pixel host")

function(glider_endpoints target)
  target_compile_definitions(${target} PRIVATE
    GLIDER_LOGIN_HOST="${GLIDER_LOGIN_HOST}"
    GLIDER_DOWNLOAD_HOST="${GLIDER_DOWNLOAD_HOST}"
    GLIDER_PAY_HOST="${GLIDER_PAY_HOST}"
    GLIDER_SERVICE_URL="${GLIDER_SERVICE_URL}"
    GLIDER_SITE_HOST="${GLIDER_SITE_HOST}"
    GLIDER_STAT_HOST="${GLIDER_STAT_HOST}"
    GLIDER_PIXEL_HOST="${GLIDER_PIXEL_HOST}")
endfunction()
