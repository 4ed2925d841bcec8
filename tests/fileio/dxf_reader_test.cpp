// The DXF reader on small drawings made here and on the survey files: what each entity kind yields, the stores'
// merging, thinning and crossing rules, the grids against the plain scans, and bad files refused cleanly.
#include "DxfFixture.hpp"

#include "../robustness/Mutator.hpp"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <random>
#include <set>
#include <tuple>

namespace dxf_reader_test {

bool SameLists(const DXFFileCls& a, const DXFFileCls& b) {
    auto samePoint = [](const DXFFilePoint& p, const DXFFilePoint& q) {
        return p.x == q.x && p.y == q.y && p.z == q.z && p.layer == q.layer && p.group == q.group;
    };
    if (a.vertices.size() != b.vertices.size() || a.pointEntities.size() != b.pointEntities.size() ||
        a.constraints.size() != b.constraints.size())
        return false;
    for (size_t i = 0; i < a.vertices.size(); ++i)
        if (!samePoint(a.vertices[i], b.vertices[i])) return false;
    for (size_t i = 0; i < a.pointEntities.size(); ++i)
        if (!samePoint(a.pointEntities[i], b.pointEntities[i])) return false;
    for (size_t i = 0; i < a.constraints.size(); ++i) {
        const DXFFileConstraint &c = a.constraints[i], &d = b.constraints[i];
        if (c.sx != d.sx || c.sy != d.sy || c.sz != d.sz || c.ex != d.ex || c.ey != d.ey || c.ez != d.ez ||
            c.layer != d.layer || c.group != d.group)
            return false;
    }
    return a.pointsRead == b.pointsRead && a.pointsKept == b.pointsKept;
}

TEST_F(DxfReaderTest, EntityKindsFollowTheirRules) {
    const std::string text =
        Dxf(Point("Spots", 10, 10, 5) + "0\nTEXT\n8\nNotes\n1\nENDSEC\n" +  // a text that reads ENDSEC
            Point("Spots", 10.05, 10.05, 6) +                               // within the 0.1 tolerance: dropped
            Point("Spots", 20, 20, 7, "60\n1\n") +                          // invisible
            Point("spots", 30, 30, 8, "60\n0\n") +                          // other case, same layer
            Line("Roads", 100, 0, 100.05, 0) +                              // short: one point, no constraint
            Lw("Walls", {{200, 0}, {210, 0}}, false, 3.0, "210\n0\n220\n0\n230\n1\n") +  // extrusion: skipped
            "0\nTEXT\n8\nNotes\n1\nPOINT\n8\nSpots\n10\n1\n20\n1\n" +                    // a text that reads POINT
            "0\nCIRCLE\n8\nLINE\n10\n5\n20\n5\n40\n1\n");                                // a layer named LINE
    const std::string path = Write("kinds.dxf", text);
    DXFFileCls reader;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(reader, path, error)) << error;
    ASSERT_EQ(reader.layers.size(), 3u);  // Spots, Roads, Walls: no layer of the TEXT or CIRCLE
    EXPECT_EQ(reader.layers[0].name.ToStdString(), "Spots");
    ASSERT_EQ(reader.pointEntities.size(), 2u);
    EXPECT_DOUBLE_EQ(reader.pointEntities[1].z, 8.0);
    EXPECT_EQ(reader.vertices.size(), 1u);
    EXPECT_TRUE(reader.constraints.empty());
    EXPECT_EQ(reader.pointsRead, 4u);  // three POINTs read, one line end
}

TEST_F(DxfReaderTest, FacesSquaresAndUnits) {
    const double tri[4][3] = {{0, 0, 1}, {10, 0, 2}, {0, 10, 3}, {0, 10, 3}};
    const std::string path =
        Write("faces.dxf", Dxf(Face("TIN", tri) + Lw("Ring", {{50, 50}, {60, 50}, {60, 60}, {50, 60}}, true, 4.0)));
    DXFFileCls reader;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(reader, path, error));
    EXPECT_EQ(reader.pointsRead, 4u + 5u);
    EXPECT_EQ(reader.vertices.size(), 3u + 4u);
    ASSERT_EQ(reader.constraints.size(), 3u + 4u);
    // The ring's closing constraint ends exactly on its stored first point.
    const DXFFileConstraint& closing = reader.constraints.back();
    EXPECT_EQ(closing.ex, reader.vertices[3].x);
    EXPECT_EQ(closing.ey, reader.vertices[3].y);

    // One drawing unit of one inch: 12 units are a foot.
    Adjust() = [](DXFFileCls& r) { r.unitFactor = 1.0, r.metric = 0; };
    DXFFileCls inches;
    ASSERT_TRUE(ReadDxf(inches, Write("inches.dxf", Dxf(Point("P", 12, 0, 0))), error));
    ASSERT_EQ(inches.pointEntities.size(), 1u);
    EXPECT_NEAR(inches.pointEntities[0].x, 0.3048, 1e-12);
}

TEST_F(DxfReaderTest, StoresMergeCrossAndGroup) {
    Adjust() = [](DXFFileCls& r) { r.grouping = 1; };
    const std::string path =
        Write("stores.dxf",
              Dxf(Line("A", 0, 0, 10, 0) + Line("A", 10, 0, 10, 10) +        // share (10, 0): one group
                  Line("A", 0, 5, 20, 5) +                                   // crosses the second: no constraint
                  Line("A", 50, 0, 50.05, 0) + Line("A", 60, 0, 60.05, 0) +  // short: ungrouped points
                  Lw("A", {{50.00001, 0}, {55, 5}}, false, 1.0) +            // meets the first short line's point
                  Line("A", 5, 0, 5, -5) +                                   // T on the first line: rejected
                  Line("A", 100, 100, 110, 110) + Line("A", 100, 100, 110, 110)));  // twice: stored twice
    DXFFileCls reader;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(reader, path, error));
    ASSERT_EQ(reader.constraints.size(), 2u + 1u + 2u);
    EXPECT_EQ(reader.constraints[0].group, reader.constraints[1].group);
    const DXFFilePoint& shared = reader.vertices[1];
    EXPECT_EQ(shared.group, reader.constraints[0].group);
    // The polyline pulled the point it met into its group, and nothing else that was loose.
    int32_t loose = 0;
    for (const DXFFilePoint& v : reader.vertices) loose += v.group == 0;
    EXPECT_EQ(loose, 1);  // the second short line's point
    // The polyline's first vertex took the stored point's coordinates.
    EXPECT_EQ(reader.constraints[2].sx, 50.0);
}

// The grids find what the scans find: random drawings on a coarse lattice, so that vertices meet, segments cross
// and groups merge, read both ways, give the same lists in the same order.
TEST_F(DxfReaderTest, GridsGiveTheScansResults) {
    std::mt19937 rng(20261207);
    auto lattice = [&](int n) { return double(std::uniform_int_distribution<int>(0, n)(rng)) * 0.5; };
    auto step = [&](double v) { return v + double(std::uniform_int_distribution<int>(-4, 4)(rng)) * 0.5; };
    for (int round = 0; round < 8; ++round) {
        // Short entities over a field of 60 x 60, so that the grids have many cells; now and then a long line
        // across, which the grids keep apart.
        std::string entities;
        for (int e = 0; e < 700; ++e) {
            const double x = lattice(120), y = lattice(120), z = lattice(20);
            switch (rng() % 5) {
                case 0: entities += Point("P", x, y, z); break;
                case 1: entities += Line("L", x, y, step(x), step(y), z); break;
                case 2: entities += Line("L", x, y, lattice(120), lattice(120), z); break;
                case 3: {
                    std::vector<std::pair<double, double>> xy = {{x, y}};
                    for (int k = 0, n = int(rng() % 8); k < n; ++k)
                        xy.push_back({step(xy.back().first), step(xy.back().second)});
                    entities += Lw("W", xy, rng() % 2 == 0, z);
                    break;
                }
                default: {
                    const double c[4][3] = {{x, y, 1}, {step(x), y, 2}, {step(x), step(y), 3}, {x, step(y), 4}};
                    entities += Face("F", c);
                }
            }
        }
        const std::string path = Write("random.dxf", Dxf(entities));
        const bool grouping = round % 2 == 0;
        Adjust() = [grouping](DXFFileCls& r) { r.grouping = grouping, r.tolerance = 0.6, r.constraintFilter = 0.7; };
        DXFFileCls indexed, scanned;
        scanned.indexedSearch = false;
        indexed.surveyBounds = scanned.surveyBounds = false;
        int32_t error = 0;
        ASSERT_TRUE(ReadDxf(indexed, path, error));
        ASSERT_TRUE(ReadDxf(scanned, path, error));
        ASSERT_GT(scanned.constraints.size(), 300u);
        ASSERT_TRUE(SameLists(indexed, scanned)) << "round " << round;
    }
}

// The stores' grids are dropped once a read is done; the stores used after it answer as over the whole lists: a
// vertex on a stored one merges, a constraint across a stored one is refused, one given whole is kept as given.
TEST_F(DxfReaderTest, StoresAfterAReadSeeWhatItStored) {
    std::string entities;
    for (int k = 0; k < 200; ++k) entities += Lw("C", {{0, k * 10.0}, {50, k * 10.0 + 3}, {100, k * 10.0}}, false, k);
    DXFFileCls reader;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(reader, Write("after.dxf", Dxf(entities)), error));
    ASSERT_EQ(reader.vertices.size(), 600u);
    ASSERT_EQ(reader.constraints.size(), 400u);
    const DXFFilePoint stored = reader.vertices[301];
    DXFFilePoint p;
    p.x = stored.x + 2e-5, p.y = stored.y - 2e-5, p.z = -1;
    bool added = true;
    reader.AddVertexPoint(p, added);
    EXPECT_FALSE(added);
    EXPECT_EQ(p.x, stored.x);
    EXPECT_EQ(p.z, stored.z);
    DXFFileConstraint across{25, 995, 0, 25, 1005, 0, 0, 0};  // through the first segment of the line at 1000
    reader.AddConstraint(across, added);
    EXPECT_FALSE(added);
    const DXFFileConstraint beside{200, 0, 1, 200, 50, 2, 0, 7};
    reader.AddConstraint(beside, added);
    ASSERT_TRUE(added);
    ASSERT_EQ(reader.constraints.size(), 401u);
    const DXFFileConstraint back = reader.constraints.back();
    EXPECT_TRUE(back.sx == 200 && back.sy == 0 && back.sz == 1 && back.ey == 50 && back.ez == 2 && back.group == 7);
    // The read's own constraints run between its vertices.
    const DXFFileConstraint first = reader.constraints[0];
    EXPECT_TRUE(first.sx == reader.vertices[0].x && first.ey == reader.vertices[1].y && first.ez == 0.0);
}

// Every number is read as the full conversion reads its text, whatever shape the writer gave it.
TEST_F(DxfReaderTest, NumbersAreReadAsWritten) {
    std::mt19937_64 rng(20261208);
    const char* const formats[] = {"%.17g", "%.15g", "%.6f", "%.12f", "%g", "%.3e", "%.10E", "%+.4f"};
    std::vector<std::string> texts = {"1.",        ".5",   "-.25",  "+7",
                                      "0012.5000", "1,5",  "-0",    "9007199254740993",
                                      "4e22",      "4e23", "1e-22", "123456789012345678901"};
    while (texts.size() < 3000) {
        const double v = std::ldexp(double(rng() >> 11), int(rng() % 70) - 60) * (rng() % 2 != 0 ? -1 : 1);
        char text[64];
        std::snprintf(text, sizeof text, formats[rng() % 8], v);
        texts.push_back(text);
    }
    std::string entities;
    for (size_t i = 0; i < texts.size(); ++i)
        entities += "0\nPOINT\n8\nP\n10\n" + texts[i] + "\n20\n" + std::to_string(i * 10) + "\n30\n0\n";
    DXFFileCls reader;
    reader.surveyBounds = false;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(reader, Write("numbers.dxf", Dxf(entities)), error));
    ASSERT_EQ(reader.pointEntities.size(), texts.size());
    for (size_t i = 0; i < texts.size(); ++i) {
        std::string text = texts[i];
        for (char& c : text) c = c == ',' ? '.' : c;
        const char* from = text.c_str() + (text[0] == '+' ? 1 : 0);
        double expected = 0.0;
        std::from_chars(from, text.c_str() + text.size(), expected);
        ASSERT_EQ(std::signbit(reader.pointEntities[i].x), std::signbit(expected)) << texts[i];
        ASSERT_EQ(reader.pointEntities[i].x, expected) << texts[i];
    }
}

// Thinning as plainly read: the closest consecutive pair (the first on ties) loses its first vertex (a closed
// list keeps vertex 0) until no pair is closer than the filter; the fast thinning must agree on random lists.
TEST(DxfSimplify, AgreesWithThePlainRule) {
    auto plain = [](std::vector<DXFVertex> v, bool closed, double d) {
        while (v.size() >= 3) {
            size_t best = 0;
            double bestD = 1e300;
            for (size_t i = 0; i + 1 < v.size(); ++i) {
                const double dx = v[i + 1].x - v[i].x, dy = v[i + 1].y - v[i].y, dd = dx * dx + dy * dy;
                if (dd < bestD) bestD = dd, best = i;
            }
            if (!(bestD < d * d)) break;
            v.erase(v.begin() + long(closed && best == 0 ? 1 : best));
        }
        return v;
    };
    std::mt19937 rng(5);
    std::uniform_int_distribution<int> n(1, 12), c(0, 8);
    DXFFileCls reader;
    reader.constraintFilter = 1.5;
    for (int i = 0; i < 3000; ++i) {
        std::vector<DXFVertex> v(size_t(n(rng)));
        for (DXFVertex& p : v) p = {double(c(rng)), double(c(rng)), 0.0};
        const bool closed = i % 2 == 0;
        if (closed) v.push_back(v.front());
        std::vector<DXFVertex> expected = plain(v, closed, reader.constraintFilter);
        bool collapsed = false;
        reader.SimplifyPolyline(v, closed, collapsed);
        bool shrunk = !closed && expected.size() == 1;
        if (closed && expected.size() == 2 &&
            std::hypot(expected[1].x - expected[0].x, expected[1].y - expected[0].y) < reader.constraintFilter) {
            expected.pop_back();
            shrunk = true;
        }
        ASSERT_EQ(collapsed, shrunk) << i;
        ASSERT_EQ(v.size(), expected.size()) << i;
        for (size_t k = 0; k < v.size(); ++k) ASSERT_TRUE(v[k].x == expected[k].x && v[k].y == expected[k].y) << i;
    }
}

TEST_F(DxfReaderTest, LayerNamesOfNewerFilesAreUtf8) {
    DXFFileCls reader;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(reader, Data("dxf/layers_utf8_r2018.dxf"), error));
    ASSERT_EQ(reader.layers.size(), 2u);
    EXPECT_EQ(reader.layers[0].name.ToStdString(), "H\xC3\xB8ydepunkter");
    EXPECT_EQ(reader.layers[1].name.ToStdString(), "H\xC3\xB6henlinien");
    EXPECT_EQ(reader.pointEntities.size(), 40u);
}

// Line ends of any kind read alike: CR LF, a lone CR, and blanks around the values.
TEST_F(DxfReaderTest, ReTerminatedFilesGiveTheSameLists) {
    const std::string lf = Slurp(Data("dxf/survey_r12.dxf"));
    std::string crlf, cr, padded;
    for (char c : lf) {
        crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
        cr += c == '\n' ? '\r' : c;
        padded += c == '\n' ? std::string("  \n ") : std::string(1, c);
    }
    DXFFileCls first;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(first, Write("lf.dxf", lf), error));
    ASSERT_GT(first.vertices.size(), 100u);
    for (const std::string* variant : {&crlf, &cr, &padded}) {
        DXFFileCls other;
        ASSERT_TRUE(ReadDxf(other, Write("variant.dxf", *variant), error));
        EXPECT_TRUE(SameLists(first, other));
    }
}

TEST_F(DxfReaderTest, BadFilesAreRefusedWithTheirCode) {
    int32_t error = 0;
    {
        DXFFileCls reader;
        EXPECT_FALSE(ReadDxf(reader, Data("dxf/survey_r2000_binary.dxf"), error));
        EXPECT_EQ(error, ErrReadingFile);
    }
    {
        DXFFileCls reader;
        EXPECT_FALSE(ReadDxf(reader, Data("dxf/nothing_readable.dxf"), error));
        EXPECT_EQ(error, ErrNothingReadable);
    }
    {
        DXFFileCls reader;
        EXPECT_FALSE(ReadDxf(reader, UserFile("missing.dxf"), error));
        EXPECT_EQ(error, ErrReadingFile);
    }
    const std::string good = Slurp(Data("dxf/survey_r2000.dxf"));
    const size_t entities = good.find("ENTITIES");
    // A code line that is no number: the read stops there, keeps what came before and says where.
    std::string garbled = good;
    garbled.replace(garbled.find("\n 10\n", entities), 5, "\n1x0\n");
    DXFFileCls reader;
    EXPECT_TRUE(ReadDxf(reader, Write("garbled.dxf", garbled), error));
    EXPECT_EQ(reader.report.Count(ReadIssue::DxfStoppedAt), 1u);
    EXPECT_NE(reader.report.Describe().ToStdString(Encoding_UTF8).find("(group code \"1x0\")"), std::string::npos);
    // A unit length of 0 would put everything on the origin.
    Adjust() = [](DXFFileCls& r) { r.unitFactor = 0.0; };
    DXFFileCls zero;
    EXPECT_FALSE(ReadDxf(zero, Data("dxf/survey_r2000.dxf"), error));
    EXPECT_EQ(error, ErrReadingFile);
}

// Seeded mutants of a real survey: each read ends, with the lists filled or with code 8 or 34.
TEST_F(DxfReaderTest, MutantsNeverCrash) {
    const std::string good = Slurp(Data("dxf/survey_r12.dxf"));
    const std::vector<std::string> tokens = {
        "\n  0\nPOINT\n", "\n  0\nENDSEC\n", "\n 10\n1e308\n",      "\n 70\n", "\n  0\nVERTEX\n", "\r", "\n",
        "\n  8\n0\n",     "\n  0\nSEQEND\n", std::string(5000, 'x')};
    Robustness::Mutator mutator(77);
    for (int i = 0; i < 150; ++i) {
        Adjust() = [](DXFFileCls& r) { r.unitFactor = 9999999.0; };
        DXFFileCls reader;
        int32_t error = 0;
        const bool ok = ReadDxf(reader, Write("mutant.dxf", mutator.Mutate(good, tokens)), error);
        if (!ok) {
            EXPECT_TRUE(error == ErrReadingFile || error == ErrNothingReadable) << i << " " << error;
        }
        for (const DXFFilePoint& p : reader.vertices) ASSERT_TRUE(std::isfinite(p.x) && std::isfinite(p.y));
    }
}

// The indexes find what the scans find on the layouts that crowd a uniform grid: start points within 1 m, long
// parallel and near-parallel segments, and all of it again beyond 1e15.
TEST_F(DxfReaderTest, IndexesGiveTheScansResultsOnCrowdedLayouts) {
    std::mt19937 rng(5);
    auto uniform = [&](double a, double b) { return std::uniform_real_distribution<double>(a, b)(rng); };
    auto grid = [&](double step, int n) { return double(std::uniform_int_distribution<int>(0, n)(rng)) * step; };
    for (int round = 0; round < 12; ++round) {
        const double far = round >= 8 ? 2e15 : 0.0;
        std::string entities;
        for (int e = 0; e < 2500; ++e) {
            const double x = far + grid(0.01, 100), y = far + grid(0.01, 100);
            switch ((round % 4 == 3 ? rng() % 3 : round % 4) * 10 + rng() % 3) {
                // Crowded: points, short lines and long rays from start points within 1 m.
                case 0: entities += Point("P", x, y, uniform(0, 9)); break;
                case 1: entities += Line("L", x, y, x + grid(0.01, 40) - 0.2, y + grid(0.01, 40) - 0.2); break;
                case 2: entities += Line("L", x, y, x + uniform(-500, 500), y + uniform(-500, 500)); break;
                // Long lines, parallel or nearly so, stacked and overlapping; now and then one across them.
                case 10:
                case 11: {
                    const double slope = 0.25 * double(rng() % 3) + (rng() % 4 == 0 ? 1e-9 * double(rng() % 7) : 0.0);
                    const double x0 = far + grid(1.0, 200), y0 = far + grid(0.5, 400), length = uniform(300, 2000);
                    entities += Line("L", x0, y0, x0 + length, y0 + slope * length);
                    break;
                }
                case 12: entities += Line("L", far + grid(1, 200), far, far + grid(1, 200), far + 600); break;
                // Polylines winding through the crowd.
                default: {
                    std::vector<std::pair<double, double>> xy = {{x, y}};
                    for (int k = 0, n = int(rng() % 12); k < n; ++k)
                        xy.push_back({xy.back().first + grid(0.01, 60) - 0.3, xy.back().second + grid(0.01, 60) - 0.3});
                    entities += Lw("W", xy, rng() % 2 == 0, 1.0);
                }
            }
        }
        const std::string path = Write("crowded.dxf", Dxf(entities));
        const bool grouping = round % 2 == 0;
        // The POINT tolerance as the dialog may leave it: small, 0 (no point merged) or given negative.
        const double tolerance = round % 3 == 0 ? 0.003 : round % 3 == 1 ? 0.0 : -0.01;
        Adjust() = [grouping, tolerance](DXFFileCls& r) {
            r.grouping = grouping, r.tolerance = tolerance, r.constraintFilter = 0.02;
        };
        DXFFileCls indexed, scanned;
        scanned.indexedSearch = false;
        indexed.surveyBounds = scanned.surveyBounds = false;
        int32_t error = 0;
        ASSERT_TRUE(ReadDxf(indexed, path, error));
        ASSERT_TRUE(ReadDxf(scanned, path, error));
        ASSERT_GT(scanned.constraints.size(), 50u);
        ASSERT_TRUE(SameLists(indexed, scanned)) << "round " << round;
    }
}

// A number that cannot be read skips the entity that needs it and is counted; on entities not read, or on
// layers not chosen, it changes nothing. A coordinate that leaves the doubles once scaled skips its entity too.
TEST_F(DxfReaderTest, UnreadableNumbersSkipTheirEntityAlone) {
    const std::string clean = Point("A", 1, 2, 3) + Line("A", 0, 0, 5, 5) + Point("B", 7, 7, 7);
    const std::string bad = Point("A", 1, 2, 3, "") + "0\nPOINT\n8\nA\n10\n1.#QNAN\n20\n4\n30\n5\n" +
        "0\nLINE\n8\nA\n10\n1\n20\n1\n30\n-1.#IND\n11\n9\n21\n9\n31\n0\n" + Line("A", 0, 0, 5, 5) +
        "0\nCIRCLE\n8\nA\n10\n1.#QNAN\n20\nnan\n40\n1.#INF\n" + "0\nPOINT\n8\nB\n10\n1.#QNAN\n20\n0\n" +
        Point("B", 7, 7, 7) + "0\nPOINT\n8\nA\n10\n1e308\n20\n0\n";
    Adjust() = [](DXFFileCls& r) {
        r.layers[1].import = 0;  // "B" not chosen
        r.unitFactor = 2000.0;   // two metres a unit: 1e308 units are no double
    };
    int32_t error = 0;
    DXFFileCls expected, reader;
    ASSERT_TRUE(ReadDxf(expected, Write("clean.dxf", Dxf(clean)), error));
    ASSERT_TRUE(ReadDxf(reader, Write("qnan.dxf", Dxf(bad)), error)) << error;
    // The skipped entities' points (a point, a line's two, a point) count as read and skipped, as the results say.
    EXPECT_EQ(reader.pointsRead, expected.pointsRead + 4);
    reader.pointsRead = expected.pointsRead;
    EXPECT_TRUE(SameLists(expected, reader));
    EXPECT_EQ(reader.report.Count(ReadIssue::BadNumber), 2u);
    EXPECT_EQ(reader.report.Count(ReadIssue::NonFiniteCoordinate), 1u);
    EXPECT_FALSE(expected.report.HasIssues());
}

// A file cut anywhere inside its ENTITIES section (inside a code line, a value, between entities) keeps what stood
// before the cut: the points read are those a whole read gives from the entities before it, and the cut is told.
TEST_F(DxfReaderTest, AFileCutShortKeepsTheEntitiesBeforeTheCut) {
    const std::string good = Slurp(Data("dxf/survey_r12.dxf"));
    DXFFileCls whole;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(whole, Data("dxf/survey_r12.dxf"), error));
    auto key = [](const DXFFilePoint& p) { return std::make_tuple(p.x, p.y, p.z); };
    std::set<std::tuple<double, double, double>> all;
    for (const DXFFilePoint& p : whole.vertices) all.insert(key(p));
    for (const DXFFilePoint& p : whole.pointEntities) all.insert(key(p));
    const size_t entities = good.find("ENTITIES"), end = good.find("ENDSEC", entities);
    std::mt19937 rng(53);
    size_t previous = 0;
    for (int round = 0; round < 40; ++round) {
        const size_t cut = entities + 12 + rng() % (end - entities - 12);
        SCOPED_TRACE(cut);
        DXFFileCls reader;
        ASSERT_TRUE(ReadDxf(reader, Write("cut.dxf", good.substr(0, cut)), error));
        EXPECT_EQ(reader.report.Count(ReadIssue::EndedEarly), 1u);
        for (const DXFFilePoint& p : reader.vertices) EXPECT_TRUE(all.count(key(p)));
        for (const DXFFilePoint& p : reader.pointEntities) EXPECT_TRUE(all.count(key(p)));
        previous = std::max(previous, reader.vertices.size());
    }
    EXPECT_GT(previous, 0u);
    // The small file: two points whole, the third cut inside its y value line's code.
    DXFFileCls small;
    ASSERT_TRUE(ReadDxf(small, Data("limits/cut_short.dxf"), error));
    EXPECT_EQ(small.pointEntities.size(), 2u);
    EXPECT_EQ(small.report.Count(ReadIssue::EndedEarly), 1u);
    DGDriver::ClearQueueAndLog();
    ShowReadReport(small.report);
    EXPECT_EQ(Alerts(), std::vector<std::string>{"The file ends early: the records before its end were read."});
}

// Break-line segments that cross earlier ones are left out, and how many is told.
TEST_F(DxfReaderTest, CrossingBreakLinesLeftOutAreCounted) {
    const std::string path = Write("crossing.dxf",
                                   Dxf(Line("B", 0, 0, 10, 10, 5) + Line("B", 0, 10, 10, 0, 6) +
                                       Line("B", 20, 0, 30, 0, 7) + Line("B", 25, -5, 25, 5, 8)));
    DXFFileCls reader;
    int32_t error = 0;
    ASSERT_TRUE(ReadDxf(reader, path, error));
    EXPECT_EQ(reader.report.Count(ReadIssue::CrossingBreakLines), 2u);
    EXPECT_NE(reader.report.Describe().ToStdString(Encoding_UTF8).find("cross earlier ones were left out (2)"),
              std::string::npos);
}

}  // namespace dxf_reader_test
