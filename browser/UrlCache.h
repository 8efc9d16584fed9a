// Clearing the web engine's URL cache.
#pragma once

// Deletes every entry, one by one. The shared-library build keeps cookie and history
// entries (source addresses containing "Cookie" or "Visited").
void ClearUrlCache();
