#pragma once
// A picture of a geometry test's input and result as an SVG file, written when the test fails so the case can be
// looked at. Plan coordinates (y up); the view box fits whatever was added.
#include <string>
#include <vector>

namespace TestSupport {

class SvgPicture {
public:
    struct Point {
        double x, y;
    };
    using Path = std::vector<Point>;

    // Closed rings filled by the even-odd rule, so holes given as further rings stay open.
    void AddRings(const std::vector<Path>& rings, const std::string& colour, double fillOpacity = 0.25);
    void AddRing(const Path& ring, const std::string& colour, double fillOpacity = 0.25) {
        AddRings({ring}, colour, fillOpacity);
    }
    // An open chain.
    void AddPolyline(const Path& line, const std::string& colour, double width = 1.5);
    // A line of text in the top left corner (which case, which colour is what).
    void AddCaption(const std::string& text) { m_captions.push_back(text); }

    std::string Text() const;
    // Writes the picture, creating missing folders; false when the file cannot be written.
    bool Write(const std::string& file) const;

private:
    struct Shape {
        std::vector<Path> paths;
        bool closed;
        std::string colour;
        double fillOpacity, width;
    };
    std::vector<Shape> m_shapes;
    std::vector<std::string> m_captions;
};

}  // namespace TestSupport
