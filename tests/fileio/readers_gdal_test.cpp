// The grid and point-file readers against GDAL reading the same files: every point's height is GDAL's value of
// its cell, the counts are GDAL's cells with data, and every rewrite of a file gives that file's points.
#ifdef LODRAVIX_HAVE_GDAL
#include "ReaderFixture.hpp"

#include "fileio/SurveyBounds.hpp"

#include <cpl_error.h>
#include <gdal.h>
#include <gdal_utils.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <set>
#include <tuple>

namespace readers_gdal_test {

using ASCFile::ASCFilePoint;

struct GdalGrid {
    double gt[6] = {};
    int nx = 0, ny = 0;
    bool hasNoData = false;
    double noData = 0.0;
    std::vector<double> z;
    size_t Valid() const {
        size_t n = 0;
        for (double v : z) n += !(hasNoData && v == noData) && !std::isnan(v);
        return n;
    }
};

bool OpenGdal(const std::string& path, GdalGrid& grid) {
    GDALAllRegister();
    GDALDatasetH ds = GDALOpen(path.c_str(), GA_ReadOnly);
    if (ds == nullptr) return false;
    GDALGetGeoTransform(ds, grid.gt);
    grid.nx = GDALGetRasterXSize(ds);
    grid.ny = GDALGetRasterYSize(ds);
    GDALRasterBandH band = GDALGetRasterBand(ds, 1);
    int has = 0;
    grid.noData = GDALGetRasterNoDataValue(band, &has);
    grid.hasNoData = has != 0;
    grid.z.resize(size_t(grid.nx) * size_t(grid.ny));
    const CPLErr err =
        GDALRasterIO(band, GF_Read, 0, 0, grid.nx, grid.ny, grid.z.data(), grid.nx, grid.ny, GDT_Float64, 0, 0);
    GDALClose(ds);
    return err == CE_None;
}

// Each point's cell in GDAL's grid, found at (x + shift, y + shift): its height is GDAL's, it has data, and no
// two points share a cell; all cells with data are met.
void ExpectGdalCells(const std::vector<ASCFilePoint>& points, const GdalGrid& grid, double shift, double zTol) {
    std::set<std::pair<int, int>> seen;
    for (const ASCFilePoint& p : points) {
        const int col = int(std::floor((p.x + shift - grid.gt[0]) / grid.gt[1]));
        const int row = int(std::floor((p.y + shift - grid.gt[3]) / grid.gt[5]));
        ASSERT_TRUE(col >= 0 && col < grid.nx && row >= 0 && row < grid.ny) << p.x << " " << p.y;
        const double g = grid.z[size_t(row) * size_t(grid.nx) + size_t(col)];
        ASSERT_FALSE(grid.hasNoData && g == grid.noData) << "a point on a no-data cell " << row << "," << col;
        ASSERT_NEAR(p.z, g, zTol) << row << "," << col;
        ASSERT_TRUE(seen.insert({row, col}).second);
    }
    EXPECT_EQ(points.size(), grid.Valid());
}

// GDAL's "x y z" of the grid at `path` (its XYZ driver: one line per cell, its centre), the no-data cells left out.
std::vector<ASCFilePoint> GdalXyz(const std::string& path, const std::string& xyz) {
    GDALAllRegister();
    GDALDatasetH src = GDALOpen(path.c_str(), GA_ReadOnly);
    if (src == nullptr) return {};
    int has = 0;
    const double noData = GDALGetRasterNoDataValue(GDALGetRasterBand(src, 1), &has);
    const char* options[] = {"DECIMAL_PRECISION=9", nullptr};
    GDALClose(GDALCreateCopy(GDALGetDriverByName("XYZ"), xyz.c_str(), src, FALSE, const_cast<char**>(options), nullptr,
                             nullptr));
    GDALClose(src);
    std::vector<ASCFilePoint> points;
    std::ifstream in(xyz);
    for (double x, y, z; in >> x >> y >> z;)
        if (!(has && z == noData)) points.push_back(ASCFilePoint{x, y, z});
    return points;
}

// The same points, whatever their order: positions to a micrometre, heights exactly.
void ExpectSamePoints(std::vector<ASCFilePoint> a, std::vector<ASCFilePoint> b) {
    auto byPlace = [](const ASCFilePoint& p, const ASCFilePoint& q) { return std::tie(p.x, p.y) < std::tie(q.x, q.y); };
    std::sort(a.begin(), a.end(), byPlace);
    std::sort(b.begin(), b.end(), byPlace);
    ASSERT_EQ(a.size(), b.size());
    for (size_t i = 0; i < a.size(); ++i) {
        ASSERT_NEAR(a[i].x, b[i].x, 1e-6) << i;
        ASSERT_NEAR(a[i].y, b[i].y, 1e-6) << i;
        ASSERT_EQ(a[i].z, b[i].z) << i;
    }
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t from = 0;
    while (from < text.size()) {
        size_t to = text.find('\n', from);
        if (to == std::string::npos) to = text.size();
        lines.push_back(text.substr(from, to - from));
        from = to + 1;
    }
    return lines;
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::string Join(const std::vector<std::string>& parts, const std::string& sep) {
    std::string out;
    for (size_t i = 0; i < parts.size(); ++i) out += (i ? sep : "") + parts[i];
    return out;
}

std::string Replace(std::string s, char from, char to) {
    std::replace(s.begin(), s.end(), from, to);
    return s;
}

class GdalReaderTest : public ReaderTest {
protected:
    std::vector<ASCFilePoint> Grid(const std::string& path, bool skip = false) {
        ASCFile::ASCFileCls reader;
        Run(reader, path, [&](ASCFile::ASCFileCls& r) { r.skipFirstRow = skip; });
        EXPECT_FALSE(ShowedReadError()) << path;
        return reader.points;
    }
    std::vector<ASCFilePoint> Points(const std::string& path, bool skip = false) {
        TextFileCls reader;
        Run(reader, path, [&](TextFileCls& r) { r.skipFirstRow = skip; });
        EXPECT_FALSE(ShowedReadError()) << path;
        return reader.points;
    }
    static void ExpectSame(const std::vector<ASCFilePoint>& a, const std::vector<ASCFilePoint>& b, double dx = 0.0) {
        ASSERT_EQ(a.size(), b.size()) << DGDriver::LogText();
        for (size_t i = 0; i < a.size(); ++i) {
            ASSERT_NEAR(a[i].x, b[i].x + dx, 1e-6);
            ASSERT_NEAR(a[i].y, b[i].y + dx, 1e-6);
            ASSERT_EQ(a[i].z, b[i].z);
        }
    }
};

TEST_F(GdalReaderTest, GridHeightsAndCountsAreGdals) {
    const std::string elev = Data("asc/elev.asc");
    const std::string flt = Data("asc/elev_float.asc");
    GdalGrid g;
    ASSERT_TRUE(OpenGdal(elev, g));
    const std::vector<ASCFilePoint> base = Grid(elev);
    EXPECT_EQ(base.size(), 7118u);
    ExpectGdalCells(base, g, 0.0, 0.0);
    ASSERT_TRUE(OpenGdal(flt, g));
    const std::vector<ASCFilePoint> real = Grid(flt);
    EXPECT_EQ(real.size(), 7118u);
    ExpectGdalCells(real, g, 0.0, 1e-4);

    // GDAL's own no-data value for 32-bit reals, written by GDAL: a real no-data value, not -3.
    GDALDatasetH src = GDALOpen(flt.c_str(), GA_ReadOnly);
    ASSERT_NE(src, nullptr);
    GDALDatasetH mem = GDALCreate(GDALGetDriverByName("MEM"), "", g.nx, g.ny, 1, GDT_Float32, nullptr);
    GDALSetGeoTransform(mem, g.gt);
    std::vector<float> values(g.z.size());
    const float big = -3.4028234663852886e+38f;
    for (size_t i = 0; i < values.size(); ++i) values[i] = g.z[i] == -9999.0 ? big : float(g.z[i]);
    GDALRasterBandH band = GDALGetRasterBand(mem, 1);
    GDALSetRasterNoDataValue(band, double(big));
    ASSERT_EQ(GDALRasterIO(band, GF_Write, 0, 0, g.nx, g.ny, values.data(), g.nx, g.ny, GDT_Float32, 0, 0), CE_None);
    const std::string f32 = UserFile("elev_f32nodata.asc");
    GDALClose(GDALCreateCopy(GDALGetDriverByName("AAIGrid"), f32.c_str(), mem, FALSE, nullptr, nullptr, nullptr));
    GDALClose(mem);
    GDALClose(src);
    ASSERT_NE(Slurp(f32).find("e+38"), std::string::npos);
    ASSERT_TRUE(OpenGdal(f32, g));
    const std::vector<ASCFilePoint> f32Points = Grid(f32);
    EXPECT_EQ(f32Points.size(), 7118u);
    ExpectGdalCells(f32Points, g, 0.0, 1e-9);
}

TEST_F(GdalReaderTest, AGridGdalRefusesIsRefusedAndOneWithoutNoDataReadsAsGdalReadsIt) {
    const std::string elev = Slurp(Data("asc/elev.asc"));
    // Without the optional no-data line every cell is a value, -32768 included: 14,300 points, none shifted.
    const size_t at = elev.find("NODATA_value");
    ASSERT_NE(at, std::string::npos);
    const std::string plain = Write("no_nodata.asc", elev.substr(0, at) + elev.substr(elev.find('\n', at) + 1));
    GdalGrid g;
    ASSERT_TRUE(OpenGdal(plain, g));
    ASSERT_FALSE(g.hasNoData);
    const std::vector<ASCFilePoint> all = Grid(plain);
    EXPECT_EQ(all.size(), 14300u);
    ExpectGdalCells(all, g, 0.0, 0.0);
    // Cut inside row 67 of 143: GDAL cannot read the grid, and neither do we.
    const std::string cut = Write("truncated.asc", elev.substr(0, 40001));
    CPLPushErrorHandler(CPLQuietErrorHandler);
    EXPECT_FALSE(OpenGdal(cut, g));
    CPLPopErrorHandler();
    DGDriver::ClearQueueAndLog();
    ASCFile::ASCFileCls reader;
    Run(reader, cut);
    EXPECT_TRUE(ShowedReadError());
    EXPECT_TRUE(reader.points.empty());
}

TEST_F(GdalReaderTest, EveryGridRewriteGivesItsBaseFilesPoints) {
    const std::string elevText = Slurp(Data("asc/elev.asc"));
    const std::vector<std::string> lines = Lines(elevText);
    const std::vector<ASCFilePoint> base = Grid(Data("asc/elev.asc"));
    std::vector<std::string> tab, semicolon;
    for (size_t i = 0; i < lines.size(); ++i) {
        tab.push_back(Join(Words(lines[i]), "\t"));
        semicolon.push_back(i < 6 ? lines[i] : Join(Words(lines[i]), ";"));
    }
    ExpectSame(Grid(Write("crlf.asc", Join(lines, "\r\n") + "\r\n")), base);
    ExpectSame(Grid(Write("nonl.asc", Join(lines, "\n"))), base);
    ExpectSame(Grid(Write("cr.asc", Join(lines, "\r"))), base);
    ExpectSame(Grid(Write("skip.asc", "Elevation model, 600 m cells, UTM zone 32N\n" + elevText), true), base);
    ExpectSame(Grid(Write("tab.asc", Join(tab, "\n") + "\n")), base);
    ExpectSame(Grid(Write("semicolon.asc", Join(semicolon, "\n") + "\n")), base);

    // Real heights: decimal commas everywhere, and the header by cell centres (the same points).
    const std::string floatText = Slurp(Data("asc/elev_float.asc"));
    const std::vector<ASCFilePoint> real = Grid(Data("asc/elev_float.asc"));
    ExpectSame(Grid(Write("comma.asc", Replace(floatText, '.', ','))), real);
    std::vector<std::string> centre = Lines(floatText);
    const double cell = std::stod(Words(centre[4])[1]);
    char text[80];
    std::snprintf(text, sizeof text, "xllcenter    %.12f", std::stod(Words(centre[2])[1]) + cell / 2);
    centre[2] = text;
    std::snprintf(text, sizeof text, "yllcenter    %.12f", std::stod(Words(centre[3])[1]) + cell / 2);
    centre[3] = text;
    const std::string centrePath = Write("centre.asc", Join(centre, "\n") + "\n");
    ExpectSame(Grid(centrePath), real);
    GdalGrid g;
    ASSERT_TRUE(OpenGdal(centrePath, g));
    ExpectGdalCells(Grid(centrePath), g, 0.0, 1e-4);
}

TEST_F(GdalReaderTest, PointFileHeightsAndCountsAreGdals) {
    // GDAL writes the grid as "x y z" at the cell centres; the rewrites follow the shared test files.
    GDALAllRegister();
    GDALDatasetH src = GDALOpen(Data("asc/elev.asc").c_str(), GA_ReadOnly);
    ASSERT_NE(src, nullptr);
    const std::string xyz = UserFile("elev.xyz");
    GDALClose(GDALCreateCopy(GDALGetDriverByName("XYZ"), xyz.c_str(), src, FALSE, nullptr, nullptr, nullptr));
    GDALClose(src);
    GdalGrid g;
    ASSERT_TRUE(OpenGdal(xyz, g));
    const std::vector<ASCFilePoint> all = Points(xyz);
    EXPECT_EQ(all.size(), 14300u);
    ExpectGdalCells(all, g, 0.0, 0.0);

    std::vector<std::string> tabbed, semicolon = {"X;Y;Z"}, spaces, nonl;
    size_t n = 0;
    for (const std::string& line : Lines(Slurp(xyz))) {
        const std::vector<std::string> w = Words(line);
        if (w.size() != 3 || w[2] == "-32768") continue;
        tabbed.push_back(Join(w, "\t"));
        semicolon.push_back(Replace(Join(w, ";"), '.', ','));
        char fixed[64];
        std::snprintf(fixed, sizeof fixed, "%15.3f%15.3f%10.2f", std::stod(w[0]), std::stod(w[1]), std::stod(w[2]));
        if (n % 4 == 0) spaces.push_back(fixed);
        if (n < 200) nonl.push_back(line);
        ++n;
    }
    struct Case {
        std::string name, text;
        bool skip;
        size_t count;
    };
    const std::vector<Case> cases = {
        {"points.txt", Join(tabbed, "\r\n") + "\r\n", false, 7118},
        {"points_semicolon_comma.txt", Join(semicolon, "\n") + "\n", true, 7118},
        {"points_spaces.txt", Join(spaces, "\n") + "\n", false, spaces.size()},
        {"points_nonl.txt", Join(nonl, "\n"), false, 200},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = Write(c.name, c.text);
        ASSERT_TRUE(OpenGdal(path, g));
        const std::vector<ASCFilePoint> points = Points(path, c.skip);
        EXPECT_EQ(points.size(), c.count);
        ExpectGdalCells(points, g, 0.0, 1e-9);
    }
    // The header row left in: read, but it makes no point.
    TextFileCls reader;
    Run(reader, UserFile("points_semicolon_comma.txt"));
    EXPECT_EQ(reader.pointsRead, 7119u);
    EXPECT_EQ(reader.pointsKept, 7118u);
    EXPECT_FALSE(reader.BoundsEmpty());
    EXPECT_LT(reader.bounds.xMax, 1e7);
}
// The header's keyword decides where the cells lie: "xllcorner" and "yllcorner" give the outer corner, the
// first centre half a cell inside; "xllcenter" and "yllcenter" the first centre itself. Either way every point is
// its cell's centre, as GDAL writes the same grid as "x y z": the real grid, a small one, and each with its header
// rewritten by centres (in any case, GDAL's reading checked too) or with one axis by corner and one by centre.
TEST_F(GdalReaderTest, GridPointsAreGdalsXyzOfTheSameGrid) {
    auto rewrite = [](const std::string& text, const std::string& x, const std::string& y, bool xCentre, bool yCentre) {
        std::vector<std::string> lines = Lines(text);
        const double cell = std::stod(Words(lines[4])[1]);
        char line[96];
        std::snprintf(line, sizeof line, "%s %.12f", x.c_str(),
                      std::stod(Words(lines[2])[1]) + (xCentre ? cell / 2 : 0));
        lines[2] = line;
        std::snprintf(line, sizeof line, "%s %.12f", y.c_str(),
                      std::stod(Words(lines[3])[1]) + (yCentre ? cell / 2 : 0));
        lines[3] = line;
        return Join(lines, "\n") + "\n";
    };
    for (const std::string name : {"elev.asc", "small_4x3.asc"}) {
        SCOPED_TRACE(name);
        const std::string corner = Data("asc/" + name);
        const std::vector<ASCFilePoint> points = Grid(corner);
        ASSERT_FALSE(points.empty());
        ExpectSamePoints(points, GdalXyz(corner, UserFile("corner.xyz")));
        const std::string text = Slurp(corner);
        const std::string centre = Write("centre.asc", rewrite(text, "xllcenter", "yllcenter", true, true));
        ExpectSamePoints(Grid(centre), points);
        ExpectSamePoints(GdalXyz(centre, UserFile("centre.xyz")), points);
        ExpectSamePoints(Grid(Write("upper.asc", rewrite(text, "XLLCENTER", "YllCenter", true, true))), points);
        ExpectSamePoints(Grid(Write("mixed.asc", rewrite(text, "xllcenter", "yllcorner", true, false))), points);
    }
    // The first centre of the small grid, by hand: the south-west cell (the last row's first) at corner + 5.
    const std::vector<ASCFilePoint> small = Grid(Data("asc/small_4x3.asc"));
    bool found = false;
    for (const ASCFilePoint& p : small) found = found || (p.x == 1005.0 && p.y == 2005.0 && p.z == 121.0);
    EXPECT_TRUE(found);
}
// The header's cell geometry is GDAL's geotransform, corner or centre header, with or without no-data line; a file
// GDAL finds no grid in (no header) is refused, and heights beyond any survey are GDAL's cells less those.
TEST_F(GdalReaderTest, TheHeadersGeometryIsGdalsGeotransform) {
    for (const char* name : {"asc/elev.asc", "asc/elev_float.asc", "asc/small_4x3.asc", "limits/centre_header.asc"}) {
        SCOPED_TRACE(name);
        GdalGrid g;
        ASSERT_TRUE(OpenGdal(Data(name), g));
        ASCFile::ASCFileCls reader;
        Run(reader, Data(name));
        double gt[6];
        reader.header.GeoTransform(gt);
        for (int i = 0; i < 6; ++i) EXPECT_NEAR(gt[i], g.gt[i], 1e-9) << i;
        // The cell centres: half a cell in from the corners GDAL gives.
        EXPECT_NEAR(reader.header.CellX(2), g.gt[0] + 2.5 * g.gt[1], 1e-9);
        EXPECT_NEAR(reader.header.CellY(1), g.gt[3] + 1.5 * g.gt[5], 1e-9);
    }
    GdalGrid g;
    CPLPushErrorHandler(CPLQuietErrorHandler);
    EXPECT_FALSE(OpenGdal(Data("limits/no_header.asc"), g));
    CPLPopErrorHandler();
    ASCFile::ASCFileCls none;
    Run(none, Data("limits/no_header.asc"));
    EXPECT_TRUE(none.points.empty());

    ASSERT_TRUE(OpenGdal(Data("limits/heights_beyond.asc"), g));
    size_t within = 0;
    for (double z : g.z) within += !(g.hasNoData && z == g.noData) && std::fabs(z) <= MaxSurveyHeight;
    ASCFile::ASCFileCls beyond;
    Run(beyond, Data("limits/heights_beyond.asc"));
    EXPECT_EQ(beyond.points.size(), within);
    EXPECT_EQ(beyond.report.Count(ReadIssue::OutOfRange), g.Valid() - within);
}

// The header by its keywords, as GDAL reads it: any order, any case, dx and dy, the no-data line anywhere or left out,
// grids of one digit, of one column, of cells one blank apart. A keyword none of a header's, or a value the grid
// needs left out, is refused with that keyword named, where GDAL finds no grid either.
TEST_F(GdalReaderTest, HeaderKeywordsInAnyOrderReadAsGdalReadsThem) {
    const std::string rows = "101.5 102.25 -9999 104\n111 112.5 113.75 114\n121 122 123 124.125\n";
    const std::vector<std::string> headers = {
        "yllcorner 2000\nxllcorner 1000\nncols 4\nnrows 3\ncellsize 10\nNODATA_value -9999\n",
        "nrows 3\nncols 4\nxllcorner 1000\nyllcorner 2000\ncellsize 10\nNODATA_value -9999\n",
        "cellsize 10\nNODATA_value -9999\nncols 4\nnrows 3\nXLLCENTER 1005\nyllcenter 2005\n",
        "ncols 4\nnrows 3\nxllcorner 1000\nyllcorner 2000\ndx 10\ndy 20\nnodata_value -9999\n",
        "NCOLS 4\nNROWS 3\nYLLCORNER 2000\nXLLCORNER 1000\nCELLSIZE 10\n",
    };
    for (size_t i = 0; i < headers.size(); ++i) {
        SCOPED_TRACE(headers[i]);
        DGDriver::ClearQueueAndLog();
        const std::string path = Write("order" + std::to_string(i) + ".asc", headers[i] + rows);
        const std::vector<ASCFilePoint> points = Grid(path);
        ASSERT_FALSE(points.empty());
        ExpectSamePoints(points, GdalXyz(path, UserFile("order.xyz")));
    }
    const std::vector<std::string> small = {
        "ncols 1\nnrows 1\nxllcorner 0\nyllcorner 0\ncellsize 10\n5\n",
        "ncols 1\nnrows 3\nxllcorner 0\nyllcorner 0\ncellsize 10\n1\n2\n3\n",
        "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 10\n1 2\n3 4\n",
        "ncols 2\nnrows 2\nxllcorner 0\nyllcorner 0\ncellsize 10\nnodata_value -1\n1 -1\n3 4",
    };
    for (size_t i = 0; i < small.size(); ++i) {
        SCOPED_TRACE(small[i]);
        DGDriver::ClearQueueAndLog();
        const std::string path = Write("small" + std::to_string(i) + ".asc", small[i]);
        const std::vector<ASCFilePoint> points = Grid(path);
        ASSERT_FALSE(points.empty());
        ExpectSamePoints(points, GdalXyz(path, UserFile("small.xyz")));
    }
    // GDAL finds no grid where a size is not given; it takes a position left out, or a keyword given twice, as it
    // comes, where this reader refuses and says why.
    const std::vector<std::tuple<std::string, std::string, bool>> refused = {
        {"ncols 4\nnrows 3\nxllcorner 1000\nyllcorner 2000\ncelsize 10\n", "(celsize)", true},
        {"ncols 4\nnrows 3\nxllcorner 1000\nyllcorner 2000\nncols 4\ncellsize 10\n", "(ncols)", false},
        {"ncols 4\nxllcorner 1000\nyllcorner 2000\ncellsize 10\n", "does not give \"nrows\"", true},
        {"ncols 4\nnrows 3\nyllcorner 2000\ncellsize 10\n", "does not give \"xllcorner\"", false},
        {"ncols 4\nnrows 3\nxllcorner 1000\nyllcorner 2000\ndx 10\n", "does not give \"dy\"", false},
    };
    for (const auto& [header, reason, gdalRefuses] : refused) {
        SCOPED_TRACE(header);
        DGDriver::ClearQueueAndLog();
        const std::string path = Write("refused.asc", header + rows);
        ASCFile::ASCFileCls reader;
        Run(reader, path);
        EXPECT_TRUE(reader.points.empty());
        EXPECT_EQ(reader.report.error, 8);
        EXPECT_NE(reader.report.Describe().ToStdString(Encoding_UTF8).find(reason), std::string::npos)
            << reader.report.Describe().ToStdString(Encoding_UTF8);
        CPLPushErrorHandler(CPLQuietErrorHandler);
        GdalGrid grid;
        if (gdalRefuses) {
            EXPECT_FALSE(OpenGdal(path, grid) && grid.nx == 4 && grid.ny == 3);
        }
        CPLPopErrorHandler();
    }
}

}  // namespace readers_gdal_test
#endif
