#pragma once
// Runs the DXF reader on files and on DXF text made in the test, inside the in-process host, with the layer
// choice made by the test: every layer taken (optionally with constraints), then a change of the test's own.
#include "ReaderFixture.hpp"

#include "fileio/DXFFileCls.hpp"

#include <functional>
#include <sstream>

class DxfReaderTest : public ReaderTest {
protected:
    void SetUp() override {
        ReaderTest::SetUp();
        Adjust() = nullptr;
        WithConstraints() = true;
    }

    static std::function<void(DXFFileCls&)>& Adjust() {
        static std::function<void(DXFFileCls&)> adjust;
        return adjust;
    }
    static bool& WithConstraints() {
        static bool with = true;
        return with;
    }
    static bool ChooseAll(DXFFileCls& reader) {
        for (DXFFileLayer& layer : reader.layers) {
            layer.import = 1;
            layer.constraint = WithConstraints() ? 1 : 0;
        }
        if (Adjust()) Adjust()(reader);
        return true;
    }

    // Reads `path` into `reader` as the import command does, the layers chosen by ChooseAll; the read's result,
    // its error in `error` (34 for a refusal that says the file holds nothing to read).
    static bool ReadDxf(DXFFileCls& reader, const std::string& path, int32_t& error) {
        reader.path = QV_String(path.c_str(), Encoding_UTF8);
        bool cancelled = false;
        const bool ok = reader.ScanLayers(cancelled) && ChooseAll(reader) && reader.ReadChosen(cancelled);
        EXPECT_FALSE(cancelled);
        error = reader.report.Count(ReadIssue::Empty) != 0 ? int32_t(ErrNothingReadable) : reader.report.error;
        EXPECT_EQ(ok, reader.report.error == 0);
        return ok;
    }

    // A DXF of the given ENTITIES text, version in the header.
    static std::string Dxf(const std::string& entities, const std::string& version = "AC1015") {
        return "0\nSECTION\n2\nHEADER\n9\n$ACADVER\n1\n" + version + "\n0\nENDSEC\n0\nSECTION\n2\nENTITIES\n" +
            entities + "0\nENDSEC\n0\nEOF\n";
    }
    static std::string Num(double v) {
        std::ostringstream out;
        out.precision(17);
        out << v;
        return out.str();
    }
    static std::string Point(const std::string& layer, double x, double y, double z, const std::string& extra = "") {
        return "0\nPOINT\n8\n" + layer + "\n" + extra + "10\n" + Num(x) + "\n20\n" + Num(y) + "\n30\n" + Num(z) + "\n";
    }
    static std::string Line(const std::string& layer, double x1, double y1, double x2, double y2, double z = 0.0) {
        return "0\nLINE\n8\n" + layer + "\n10\n" + Num(x1) + "\n20\n" + Num(y1) + "\n30\n" + Num(z) + "\n11\n" +
            Num(x2) + "\n21\n" + Num(y2) + "\n31\n" + Num(z) + "\n";
    }
    static std::string Lw(const std::string& layer, const std::vector<std::pair<double, double>>& xy, bool closed,
                          double elevation, const std::string& extra = "") {
        std::string s = "0\nLWPOLYLINE\n8\n" + layer + "\n90\n" + std::to_string(xy.size()) + "\n70\n" +
            (closed ? "1" : "0") + "\n38\n" + Num(elevation) + "\n" + extra;
        for (const auto& p : xy) s += "10\n" + Num(p.first) + "\n20\n" + Num(p.second) + "\n";
        return s;
    }
    static std::string Face(const std::string& layer, const double (&c)[4][3]) {
        std::string s = "0\n3DFACE\n8\n" + layer + "\n";
        for (int i = 0; i < 4; ++i)
            for (int a = 0; a < 3; ++a) s += std::to_string(10 * (a + 1) + i) + "\n" + Num(c[i][a]) + "\n";
        return s;
    }
};
