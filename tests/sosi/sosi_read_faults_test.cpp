// The SOSI reader where a read used to go wrong in silence: separators moved by the origin, coordinate keywords
// lost to a wrong decoding, a declared character set ignored, files without header, empty, binary or cut off;
// and the point filters and the curve join, which must answer exactly as the pairwise scans they replace.
#include "SosiFixture.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace sosi_read_faults_test {

const char* const NE = "..N\xC3\x98\n";    // north, east
const char* const NEH = "..N\xC3\x98H\n";  // north, east, height

double D2(const API_Coord3D& a, const API_Coord3D& b) { return (a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y); }
bool Same(const API_Coord3D& a, const API_Coord3D& b) {
    return std::fabs(a.x - b.x) < 1e-7 && std::fabs(a.y - b.y) < 1e-7 && std::fabs(a.z - b.z) < 1e-7;
}

// The line simplification as a scan for the shortest segment on every round.
std::vector<API_Coord3D> PairwiseSimplify(std::vector<API_Coord3D> p, double d) {
    if (p.size() < 2) return p;
    const bool closed = Same(p.front(), p.back());
    API_Coord3D held{};
    if (!closed) held = p.back(), p.pop_back();
    while (p.size() >= 3) {
        size_t best = 0;
        for (size_t i = 1; i + 1 < p.size(); ++i)
            if (D2(p[i], p[i + 1]) < D2(p[best], p[best + 1])) best = i;
        if (!(D2(p[best], p[best + 1]) < d * d)) break;
        p.erase(p.begin() + std::ptrdiff_t(closed && best == 0 ? 1 : best));
    }
    if (!closed)
        p.push_back(held);
    else if (p.size() == 2 && D2(p[0], p[1]) < d * d)
        p.pop_back();
    return p;
}

std::vector<API_Coord3D> Points(const QV_List<API_Coord3D>& l) { return {l.begin(), l.end()}; }

bool HasIssue(const SOSIFileCls& reader, ReadIssue issue) { return reader.scan.report.Count(issue) > 0; }

TEST_F(SosiReaderTest, SeparatorsStayOutOfTheOriginShift) {
    const std::string text = Sosi(std::string(".KURVE 1:\n..OBJTYPE H\n") + NEH + "0 0 100\n100 100 100\n" +
                                      ".KURVE 2:\n..OBJTYPE H\n" + NEH + "100 100 100\n200 0 100\n",
                                  "0.01", "...ORIGO-N\xC3\x98 6600000 200000");
    SOSIFileCls reader;
    ASSERT_TRUE(ReadFiles(reader, {Write("origin.sos", text)}));
    reader.importMode = SOSIModeObjects;
    ImportAll(reader);
    ASSERT_EQ(reader.assembly.data.GetCount(), 1);
    const std::vector<API_Coord3D> joined = Points(reader.assembly.data[0].coords);
    ASSERT_EQ(joined.size(), 5u);
    EXPECT_TRUE(IsSOSISeparator(joined[2]));  // still a separator, so no vertex
    for (size_t i : {0u, 1u, 3u, 4u}) {
        EXPECT_GE(joined[i].y, 6600000.0);
        EXPECT_GE(joined[i].x, 200000.0);
    }
    reader.ComputeExtents();
    EXPECT_DOUBLE_EQ(reader.bounds.xMax, 200001.0);
    EXPECT_DOUBLE_EQ(reader.bounds.yMax, 6600002.0);
}

TEST_F(SosiReaderTest, CoordinateKeywordsSurviveAStrayByteAndTheCharsetIsHonoured) {
    // UTF-8 with one Latin-1 byte in a comment, no character set named: the file is taken as the system code
    // page and "..NØ" reads "..NÃ˜"; the keyword test does not look at the east letter.
    const std::string body = std::string(".KURVE 1:\n..OBJTYPE H\xC3\xB8ydekurve\n!caf\xE9\n") + NE + "0 0\n100 100\n" +
        ".PUNKT 2:\n..OBJTYPE Fastmerke\n" + NEH + "5 5 100\n";
    std::string plain = Sosi(body);
    plain.replace(plain.find("..TEGNSETT UTF-8\n"), 17, "");
    SOSIFileCls stray;
    ASSERT_TRUE(ReadFiles(stray, {Write("stray.sos", plain)}));
    ImportAll(stray);
    ASSERT_EQ(stray.assembly.data.GetCount(), 2);
    EXPECT_EQ(stray.assembly.data[0].coords.GetCount(), 2);
    EXPECT_DOUBLE_EQ(stray.assembly.data[1].coords[0].z, 1.0);
    // Declared UTF-8, the stray byte costs one letter and the names keep theirs.
    SOSIFileCls declared;
    ASSERT_TRUE(ReadFiles(declared, {Write("declared.sos", Sosi(body))}));
    ImportAll(declared);
    ASSERT_EQ(declared.assembly.data.GetCount(), 2);
    EXPECT_EQ(Str(declared.assembly.data[0].type), "H\xC3\xB8ydekurve");

    // ISO 8859-10 as declared: the Sami letters come back.
    const std::string sami = "\xC8\xE1hcesuolu \xA9 \xAF \xAA \xAC";  // Čáhcesuolu Đ Ŋ Š Ž in ISO 8859-10
    std::string latin6 = Sosi(std::string(".TEKST 1:\n..OBJTYPE Navn\n..STRENG \"") + sami + "\"\n" + NE + "1 1\n");
    latin6.replace(latin6.find("UTF-8"), 5, "ISO8859-10");
    SOSIFileCls nordic;
    ASSERT_TRUE(ReadFiles(nordic, {Write("latin6.sos", latin6)}));
    ImportAll(nordic);
    ASSERT_EQ(nordic.assembly.data.GetCount(), 1);
    ASSERT_EQ(nordic.assembly.data[0].texts.GetCount(), 1);
    EXPECT_EQ(Str(nordic.assembly.data[0].texts[0]), "\xC4\x8C\xC3\xA1hcesuolu \xC4\x90 \xC5\x8A \xC5\xA0 \xC5\xBD");
    // The same bytes declared as something else, or as nothing, stay the system code page's.
    latin6.replace(latin6.find("ISO8859-10"), 10, "ANSI");
    SOSIFileCls ansi;
    ASSERT_TRUE(ReadFiles(ansi, {Write("ansi.sos", latin6)}));
    ImportAll(ansi);
    EXPECT_EQ(Str(ansi.assembly.data[0].texts[0]), "\xC3\x88\xC3\xA1hcesuolu \xC2\xA9 \xC2\xAF \xC2\xAA \xC2\xAC");
}

TEST_F(SosiReaderTest, FilesThatCannotBePlacedAreRefusedWithTheirReason) {
    struct Case {
        std::string name, bytes;
        ReadIssue issue;
    };
    std::string binary;
    std::mt19937 random(7);
    for (int i = 0; i < 3000; ++i) binary += char(random() & 0xFF);
    const std::string noCoordinates = Sosi(".KURVE 1:\n..OBJTYPE A\n..NAVN x y\n.PUNKT 2:\n..OBJTYPE A\n");
    const std::string headless =
        std::string(".KURVE 1:\n..OBJTYPE A\n...ENHET 0.01\n") + NE + "100 100\n200 200\n.SLUTT\n";
    for (const Case& c :
         {Case{"empty", "", ReadIssue::Empty}, Case{"blank", "\xEF\xBB\xBF \r\n \n", ReadIssue::Empty},
          Case{"header only", ".HODE\n...ENHET 0.01\n.SLUTT\n", ReadIssue::Empty},
          Case{"binary", binary, ReadIssue::NotText}, Case{"no coordinates", noCoordinates, ReadIssue::NoCoordinates},
          Case{"no header", headless, ReadIssue::NoUnit}}) {
        SCOPED_TRACE(c.name);
        DGDriver::ClearQueueAndLog();
        // The reader itself shows nothing: its report says why.
        SOSIFileCls alone;
        EXPECT_FALSE(ReadFiles(alone, {Write("refused.sos", c.bytes)}));
        EXPECT_TRUE(HasIssue(alone, c.issue));
        EXPECT_TRUE(Alerts().empty());
        SOSIFileCls reader;
        EXPECT_FALSE(ReadFiles(reader, {Write("refused.sos", c.bytes)}, false));
        EXPECT_EQ(reader.scan.report.error, 0);
        EXPECT_TRUE(HasIssue(reader, c.issue));
        // The reason is told, not error 8.
        EXPECT_EQ(Alerts().size(), 1u);
        EXPECT_FALSE(ShowedReadError());
    }
}

TEST_F(SosiReaderTest, AFileCutInsideItsLastObjectKeepsTheObjectsBefore) {
    const std::string whole = Sosi(std::string(".KURVE 1:\n..OBJTYPE A\n") + NEH + "0 0 1\n100 100 1\n" +
                                   ".KURVE 2:\n..OBJTYPE A\n" + NEH + "0 0 1\n100 100 2\n200 200 3\n");
    const size_t cut = whole.find("200 200 3") + 5;  // inside the last tuple
    for (const std::string& bytes : {whole.substr(0, cut), whole.substr(0, whole.find(".KURVE 2:") + 12)}) {
        SOSIFileCls reader;
        DGDriver::ClearQueueAndLog();
        ASSERT_TRUE(ReadFiles(reader, {Write("cut.sos", bytes)}, false));
        EXPECT_TRUE(HasIssue(reader, ReadIssue::EndedEarly));
        EXPECT_EQ(Alerts().size(), 1u);
        ImportAll(reader);
        ASSERT_EQ(reader.assembly.data.GetCount(), 1);
        EXPECT_EQ(Str(reader.assembly.data[0].id), "1");
    }
    // Whole files, with or without their end line, read in silence; so do the real ones.
    for (const std::string& bytes : {whole, whole.substr(0, whole.find(".SLUTT"))}) {
        SOSIFileCls reader;
        ASSERT_TRUE(ReadFiles(reader, {Write("whole.sos", bytes)}));
        EXPECT_FALSE(reader.scan.report.HasIssues());
        EXPECT_EQ(reader.scan.files[0].objects.GetCount(), 2);
    }
    for (const std::string& name : RealFiles()) {
        SOSIFileCls reader;
        ASSERT_TRUE(ReadFiles(reader, {SosiData(name)})) << name;
        EXPECT_FALSE(reader.scan.report.HasIssues()) << name;
    }
}

TEST_F(SosiReaderTest, FiltersAndJoinAnswerAsThePairwiseScans) {
    std::mt19937 random(11);
    for (int round = 0; round < 40; ++round) {
        SCOPED_TRACE(round);
        // Points on a coarse lattice, so that distances tie and points coincide.
        const int span = 5 + round * 3;
        auto coordinate = [&] { return std::to_string(int(random() % unsigned(span)) * 10); };
        std::string objects;
        std::vector<std::pair<std::string, API_Coord3D>> punkt;  // type, point (file order)
        const char* typeNames[] = {"P", "Q", "R"};
        for (int o = 0; o < 60; ++o) {
            const std::string id = std::to_string(o + 1);
            const int what = int(random() % 4);
            if (what < 2) {
                const std::string n = coordinate(), e = coordinate(), type = typeNames[random() % 3];
                objects += ".PUNKT " + id + ":\n..OBJTYPE " + type + "\n" + NEH + n + " " + e + " 100\n";
                punkt.push_back({type, API_Coord3D{std::stod(e) * 0.01, std::stod(n) * 0.01, 1.0}});
            } else {
                objects += std::string(what == 2 ? ".SVERM " : ".KURVE ") + id + ":\n..OBJTYPE " +
                    (what == 2 ? (o % 3 == 0 ? "Q" : "S") : "K") + "\n" + NEH;
                const int count = 2 + int(random() % 12);
                for (int k = 0; k < count; ++k) objects += coordinate() + " " + coordinate() + " " + "100\n";
            }
        }
        const std::string path = Write("random.sos", Sosi(objects));
        const double tolerance = 0.1 * double(1 + random() % 4), own = 0.15;
        auto read = [&](int32_t mode, SOSIFileCls& reader) {
            ASSERT_TRUE(ReadFiles(reader, {path}));
            for (SOSIOType& row : reader.scan.types) {
                row.import = 1;
                row.ownValue = row.name == QV_String("Q") ? 1 : 0;
                row.value = own;
            }
            reader.tolerance = tolerance;
            reader.assembly.lineFilterDistance = tolerance;
            reader.importMode = mode;
            reader.ImportObjects();
        };
        SOSIFileCls terrain, objectsMode;
        read(SOSIModeTerrain, terrain);
        read(SOSIModeObjects, objectsMode);

        // Points: each dropped exactly when an earlier kept point lies within its type's distance.
        std::vector<API_Coord3D> kept;
        std::vector<API_Coord3D> found;
        for (const auto& [type, p] : punkt) {
            const double d = type == "Q" ? own : tolerance;
            bool near = false;
            for (const API_Coord3D& k : kept) near = near || D2(k, p) < d * d;
            if (!near) kept.push_back(p);
        }
        for (const SOSIData& d : terrain.assembly.data)
            if (d.geometryKind == SOSIKindPoint) found.push_back(d.coords[0]);
        ASSERT_EQ(found.size(), kept.size());
        for (size_t i = 0; i < kept.size(); ++i) EXPECT_TRUE(Same(found[i], kept[i]));

        // Swarms: thinned among themselves first (a point stays when no point of its swarm kept before lies
        // within the distance), then the points within the distance of a kept PUNKT taken away; lines:
        // simplified as by the scan. Checked on each object read again from the file.
        SOSIFileData& file = terrain.scan.files[0];
        int32_t record = 0;
        std::vector<API_Coord3D> punktSoFar;
        for (int32_t o = 0; o < file.objects.GetCount(); ++o) {
            const SOSIPrim prim = file.objects[o];
            QV_List<API_Coord3D> pts;
            SOSIObjectRecords records;
            records.Read(file, prim, false, pts);
            std::vector<API_Coord3D> expect;
            if (prim.kind == SOSIKindSwarm) {
                // A swarm of type Q thins by that type's own distance, against the PUNKT records too.
                const double d = prim.type == QV_String("Q") ? own : tolerance;
                std::vector<API_Coord3D> thinned;
                for (const API_Coord3D& p : pts) {
                    bool near = false;
                    for (const API_Coord3D& k : thinned) near = near || D2(k, p) < d * d;
                    if (!near) thinned.push_back(p);
                }
                for (const API_Coord3D& p : thinned) {
                    bool near = false;
                    for (const API_Coord3D& k : punktSoFar) near = near || D2(k, p) < d * d;
                    if (!near) expect.push_back(p);
                }
                if (expect.empty()) continue;
            } else if (prim.kind == SOSIKindCurve) {
                expect = PairwiseSimplify(Points(pts), tolerance);
                if (expect.size() < 2 || (pts.GetCount() == 2 && Same(pts[0], pts[1]))) continue;
            } else {
                const bool keptHere =
                    record < terrain.assembly.data.GetCount() && terrain.assembly.data[record].id == prim.id;
                if (keptHere) punktSoFar.push_back(pts[0]);
                record += keptHere ? 1 : 0;
                continue;
            }
            ASSERT_LT(record, terrain.assembly.data.GetCount());
            ASSERT_EQ(Str(terrain.assembly.data[record].id), Str(prim.id));
            const std::vector<API_Coord3D> got = Points(terrain.assembly.data[record].coords);
            ASSERT_EQ(got.size(), expect.size());
            for (size_t i = 0; i < got.size(); ++i) EXPECT_TRUE(Same(got[i], expect[i]));
            ++record;
        }

        // The join of mode 1: every curve takes the later curves that share a point with it as read.
        std::vector<std::vector<API_Coord3D>> curves;
        std::vector<std::vector<API_Coord3D>> others;
        for (const SOSIData& d : terrain.assembly.data)
            (d.geometryKind == SOSIKindCurve ? curves : others).push_back(Points(d.coords));
        std::vector<std::vector<API_Coord3D>> joined;
        std::vector<bool> gone(curves.size(), false);
        for (size_t i = 0; i < curves.size(); ++i) {
            if (gone[i]) continue;
            std::vector<API_Coord3D> c = curves[i];
            for (size_t j = i + 1; j < curves.size(); ++j) {
                bool touch = false;
                for (const API_Coord3D& a : curves[i])
                    for (const API_Coord3D& b : curves[j]) touch = touch || Same(a, b);
                if (gone[j] || !touch) continue;
                if (!IsSOSISeparator(c.back())) c.push_back(API_Coord3D{999.0, 999.0, 999.0});
                for (size_t b = 0; b < curves[j].size(); ++b) c.push_back(curves[j][b]);
                gone[j] = true;
            }
            joined.push_back(c);
        }
        std::vector<std::vector<API_Coord3D>> got;
        for (const SOSIData& d : objectsMode.assembly.data)
            if (d.geometryKind == SOSIKindCurve) got.push_back(Points(d.coords));
        ASSERT_EQ(got.size(), joined.size());
        for (size_t i = 0; i < got.size(); ++i) {
            ASSERT_EQ(got[i].size(), joined[i].size());
            for (size_t k = 0; k < got[i].size(); ++k) EXPECT_TRUE(Same(got[i][k], joined[i][k]));
        }
    }
}

TEST_F(SosiReaderTest, LineSimplificationAnswersAsTheScanOnRandomLines) {
    std::mt19937 random(3);
    SOSIFileCls reader;
    for (int round = 0; round < 500; ++round) {
        const int n = 2 + int(random() % 40);
        std::vector<API_Coord3D> line;
        for (int i = 0; i < n; ++i)
            line.push_back(API_Coord3D{double(random() % 9), double(random() % 9), double(random() % 2)});
        if (round % 3 == 0) line.push_back(line.front());  // closed
        const double d = 0.5 + double(random() % 6);
        QV_List<API_Coord3D> list;
        for (const API_Coord3D& c : line) list.Insert(c);
        reader.assembly.SimplifyLine(list, d, round % 5 == 0);
        const std::vector<API_Coord3D> expect = PairwiseSimplify(line, d);
        ASSERT_EQ(list.GetCount(), int32_t(expect.size())) << round;
        for (size_t i = 0; i < expect.size(); ++i) EXPECT_TRUE(Same(list[int32_t(i)], expect[i]));
    }
}

}  // namespace sosi_read_faults_test
