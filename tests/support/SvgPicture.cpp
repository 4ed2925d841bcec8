#include "SvgPicture.hpp"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

namespace TestSupport {

void SvgPicture::AddRings(const std::vector<Path>& rings, const std::string& colour, double fillOpacity) {
    m_shapes.push_back({rings, true, colour, fillOpacity, 1.0});
}

void SvgPicture::AddPolyline(const Path& line, const std::string& colour, double width) {
    m_shapes.push_back({{line}, false, colour, 0.0, width});
}

namespace {
std::string Escaped(const std::string& text) {
    std::string out;
    for (const char c : text) out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '>' ? "&gt;" : std::string(1, c);
    return out;
}
}  // namespace

std::string SvgPicture::Text() const {
    // Pixels are computed here rather than by an SVG transform: survey-sized coordinates with small features would
    // lose their detail in the viewer's single-precision arithmetic.
    double minX = std::numeric_limits<double>::max(), minY = minX, maxX = -minX, maxY = -minX;
    for (const Shape& s : m_shapes)
        for (const Path& path : s.paths)
            for (const Point& p : path) {
                if (!std::isfinite(p.x) || !std::isfinite(p.y)) continue;
                minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
                minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
            }
    if (minX > maxX) minX = minY = 0.0, maxX = maxY = 1.0;
    const double size = 800.0, margin = 20.0, top = margin + 16.0 * double(m_captions.size());
    const double extent = std::max({maxX - minX, maxY - minY, 1e-12});
    const double scale = size / extent;
    const double width = (maxX - minX) * scale + 2 * margin, height = (maxY - minY) * scale + margin + top;

    std::ostringstream svg;
    svg.precision(10);
    svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << width << "\" height=\"" << height
        << "\" viewBox=\"0 0 " << width << ' ' << height
        << "\">\n<rect width=\"100%\" height=\"100%\" fill=\"white\"/>\n";
    for (const Shape& s : m_shapes) {
        svg << (s.closed ? "<path fill-rule=\"evenodd\" d=\"" : "<polyline points=\"");
        for (const Path& path : s.paths) {
            for (size_t i = 0; i < path.size(); ++i) {
                const double x = margin + (path[i].x - minX) * scale, y = top + (maxY - path[i].y) * scale;
                svg << (s.closed ? (i == 0 ? "M" : "L") : (i == 0 ? "" : " ")) << x << ',' << y;
            }
            if (s.closed && !path.empty()) svg << "Z";
        }
        svg << "\" stroke=\"" << s.colour << "\" stroke-width=\"" << s.width << "\" fill=\""
            << (s.closed ? s.colour : "none") << "\" fill-opacity=\"" << s.fillOpacity << "\"/>\n";
    }
    for (size_t i = 0; i < m_captions.size(); ++i)
        svg << "<text x=\"" << margin << "\" y=\"" << margin + 16.0 * double(i) + 4
            << "\" font-family=\"sans-serif\" font-size=\"13\">" << Escaped(m_captions[i]) << "</text>\n";
    svg << "</svg>\n";
    return svg.str();
}

bool SvgPicture::Write(const std::string& file) const {
    std::error_code ec;
    const std::filesystem::path parent = std::filesystem::path(file).parent_path();
    if (!parent.empty()) std::filesystem::create_directories(parent, ec);
    std::ofstream out(file, std::ios::binary);
    out << Text();
    return bool(out.flush());
}

}  // namespace TestSupport
