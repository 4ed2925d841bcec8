#pragma once
// The add-on's libraries and the attribute cache.

// Rebuilds the cache of the project's font attributes; true on success.
bool RebuildAttributeCache();
