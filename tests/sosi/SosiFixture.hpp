#pragma once
// Runs the SOSI reader on the real files and on SOSI text made in the test, inside the in-process host.
#include "../fileio/ReaderFixture.hpp"

#include "fileio/ReadReport.hpp"
#include "settings/Settings.hpp"
#include "sosi/SOSIFileCls.hpp"

#include <map>
#include <string>
#include <vector>

class SosiReaderTest : public ReaderTest {
protected:
    static const std::vector<std::string>& RealFiles() {
        static const std::vector<std::string> names = {"1001_Hoyde.sos",       "buer.sos",       "fastmerke.sos",
                                                       "flate_oy.sos",         "flatetest.sos",  "kurvetest.sos",
                                                       "naturvernomraade.sos", "non-linear.sos", "punktcoordinate.sos",
                                                       "punkttest.sos",        "testfile1.sos",  "testfile2.sos",
                                                       "testfile_issue4.sos"};
        return names;
    }
    static std::string SosiData(const std::string& name) { return Data("sosi/" + name); }

    // Reads the files into `reader`; the read's result. Unless `quiet` the report is then shown, as the import
    // commands show it.
    static bool ReadFiles(SOSIFileCls& reader, const std::vector<std::string>& paths, bool quiet = true) {
        for (const std::string& p : paths) {
            SOSIFileData file;
            file.path = QV_String(p.c_str(), Encoding_UTF8);
            reader.scan.files.Insert(file);
        }
        const bool read = reader.ReadSOSIFiles(GlobalSettings.misc);
        if (!quiet) ShowReadReport(reader.scan.report);
        return read;
    }
    // Every type imported, no thinning or simplification.
    static void ImportAll(SOSIFileCls& reader) {
        for (SOSIOType& row : reader.scan.types) row.import = 1;
        reader.tolerance = 0.0;
        reader.assembly.lineFilterDistance = 0.0;
        reader.ImportObjects();
    }
    // The points of every object of file 0, by object index, read by `records` (the scratch then holds the
    // last object's), or by one of its own.
    static std::vector<std::vector<API_Coord3D>> ObjectPoints(SOSIFileCls& reader, int32_t fileIndex = 0,
                                                              SOSIObjectRecords* records = nullptr) {
        std::vector<std::vector<API_Coord3D>> out;
        SOSIObjectRecords own;
        SOSIObjectRecords& read = records != nullptr ? *records : own;
        const SOSIFileData& file = reader.scan.files[fileIndex];
        for (int32_t o = 0; o < file.objects.GetCount(); ++o) {
            read.Reset();
            QV_List<API_Coord3D> points;
            read.Read(file, file.objects[o], reader.assembly.skipLowHeights != 0, points);
            out.emplace_back(points.begin(), points.end());
        }
        return out;
    }
    static std::string Str(const QV_String& s) { return s.ToStdString(); }
    // A SOSI file of the given objects under a header with origin and unit.
    static std::string Sosi(const std::string& objects, const std::string& unit = "0.01",
                            const std::string& origin = "...ORIGO-N\xC3\x98 0 0") {
        return ".HODE\n..TEGNSETT UTF-8\n..TRANSPAR\n...KOORDSYS 22\n" + origin + "\n...ENHET " + unit + "\n" +
            objects + ".SLUTT\n";
    }
};
