#pragma once
// The add-on's own library parts for tests: their descriptions as read from the library folder, and an object of
// one of them placed with its parameters set as the module writes them.
#include "library/LibraryDescription.hpp"
#include "library/LibraryStore.hpp"
#include "project/ProjectDatabase.hpp"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

// Every description of the shipped library, read; a file that does not read is a test failure.
inline std::vector<LibPartDef> AddOnLibraryParts() {
    std::vector<LibPartDef> parts;
    for (const auto& entry : std::filesystem::directory_iterator(std::string(LODRAVIX_SOURCE_DIR) + "/library")) {
        if (entry.path().extension() != ".lpd") continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        LibPartDef part;
        std::string error;
        EXPECT_TRUE(ParseLibraryPart(text.str(), &part, &error)) << entry.path() << ": " << error;
        parts.push_back(std::move(part));
    }
    return parts;
}

// What an add-on object is given beyond its part's defaults: numbers, arrays as rows, and texts.
struct AddOnParams {
    std::map<std::string, double> numbers;
    std::map<std::string, std::vector<std::vector<double>>> arrays;
    std::map<std::string, std::u16string> texts;
};

// An object of the named part at `at`, turned by `angle`, on `layer`, named `name`.
inline API_Guid PlaceAddOnPart(ProjectDatabase& db, const LibraryStore& libraries, const std::string& part,
                               API_Coord at, double angle, int32_t layer, const AddOnParams& given,
                               const std::string& name) {
    const int32_t libInd = libraries.FindByName(part, 0);
    EXPECT_GT(libInd, 0) << part;
    std::vector<StoredParam> params;
    EXPECT_TRUE(db.libPartDefaults(libInd, &params));
    for (StoredParam& p : params) {
        const std::string n = p.record.name;
        if (given.numbers.count(n) != 0) p.record.value.real = given.numbers.at(n);
        if (given.texts.count(n) != 0) {
            std::fill(std::begin(p.record.value.uStr), std::end(p.record.value.uStr), u'\0');
            given.texts.at(n).copy(p.record.value.uStr, 255);
        }
        if (given.arrays.count(n) == 0) continue;
        const std::vector<std::vector<double>>& rows = given.arrays.at(n);
        p.record.dim1 = int32_t(rows.size());
        p.record.dim2 = int32_t(rows[0].size());
        p.cells.clear();
        for (const std::vector<double>& row : rows)
            for (double v : row) p.cells.append(reinterpret_cast<const char*>(&v), sizeof v);
    }
    API_Element e = {};
    e.header.typeID = API_ObjectID;
    EXPECT_EQ(db.GetDefaults(&e, nullptr), NoError);
    e.header.layer = layer;
    e.object.libInd = libInd;
    e.object.pos = at;
    e.object.angle = angle;
    StoredMemo memo;
    memo.params = params;
    EXPECT_EQ(db.PlaceElement(&e, memo, name, "Place"), NoError) << part;
    return e.header.guid;
}
