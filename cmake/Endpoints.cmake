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
# Ed25519 public key (base64 of its 32 bytes) that the upgrade program's signature must verify
# against. The default is the platform simulator's test key (tools/simulator/test-key/public.b64).
set(GLIDER_UPGRADE_PUBLIC_KEY "A8749zVzFrBhgNNuQBQ6Y0ZHzS8krNx/PMjl0Xly/II=" CACHE STRING
  "Base64 Ed25519 public key of the upgrade program's signer")

function(glider_endpoints target)
  target_compile_definitions(${target} PRIVATE
    GLIDER_LOGIN_HOST="${GLIDER_LOGIN_HOST}"
    GLIDER_DOWNLOAD_HOST="${GLIDER_DOWNLOAD_HOST}"
    GLIDER_PAY_HOST="${GLIDER_PAY_HOST}"
    GLIDER_SERVICE_URL="${GLIDER_SERVICE_URL}"
    GLIDER_SITE_HOST="${GLIDER_SITE_HOST}"
    GLIDER_STAT_HOST="${GLIDER_STAT_HOST}"
    GLIDER_PIXEL_HOST="${GLIDER_PIXEL_HOST}"
    GLIDER_UPGRADE_PUBLIC_KEY="${GLIDER_UPGRADE_PUBLIC_KEY}")
endfunction()
