#pragma once
// The add-on's library parts as the host loads them, read once per test process without a host, for the tests that
// lay the module's views over a part's own parameters.
#include "library/LibraryParams.hpp"
#include "library/LibraryStore.hpp"

#include <gtest/gtest.h>

#include <string>

inline const LibraryStore& AddOnLibrary() {
    static LibraryStore store;
    static std::string why;
    static const bool loaded = store.LoadFolder(std::string(LODRAVIX_SOURCE_DIR) + "/library", &why);
    EXPECT_TRUE(loaded) << why;
    return store;
}

// A fresh copy of the default parameters of the object part `name`; the caller disposes of it.
inline GSHandle DefaultParams(const char* name) {
    return AddOnLibrary().MakeParamHandle(AddOnLibrary().FindByName(name, LibPartType_Object));
}
