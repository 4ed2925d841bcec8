#pragma once
// The real grid (tests/data/asc/elev.asc: 32-bit integer heights, no-data -32768, 600 m cells) made finer with
// GDAL's warper (bilinear), keeping its integers and no-data: at 60 m it is the grid at the size users have
// (1,000 x 1,430 = 1.43 million cells, half of them no-data).
#include <gdal.h>
#include <gdal_utils.h>

#include <string>
#include <vector>

// The grid at `path` warped to `cell` metres as a GeoTIFF `name` in `dir`; null when GDAL cannot.
inline GDALDatasetH WarpRealGrid(const std::string& path, const std::string& dir, double cell, const char* name) {
    GDALDatasetH src = GDALOpen(path.c_str(), GA_ReadOnly);
    if (src == nullptr) return nullptr;
    const std::string res = std::to_string(cell);
    std::vector<std::string> args = {"-of",        "GTiff",  "-tr",        res,      res,   "-r",   "bilinear",
                                     "-srcnodata", "-32768", "-dstnodata", "-32768", "-ot", "Int32"};
    std::vector<char*> argv;
    for (std::string& a : args) argv.push_back(&a[0]);
    argv.push_back(nullptr);
    GDALWarpAppOptions* options = GDALWarpAppOptionsNew(argv.data(), nullptr);
    const std::string tif = dir + "/" + name;
    GDALDatasetH fine = GDALWarp(tif.c_str(), nullptr, 1, &src, options, nullptr);
    GDALWarpAppOptionsFree(options);
    GDALClose(src);
    return fine;
}
