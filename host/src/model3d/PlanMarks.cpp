#include "model3d/PlanMarks.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {
// The round step (1, 2 or 5 times a power of ten) that gives about `count` steps over `span`.
double RoundStep(double span, double count) {
    if (!(span > 0.0) || !std::isfinite(span)) return 1.0;
    const double rough = span / count, ten = std::pow(10.0, std::floor(std::log10(rough)));
    for (double f : {1.0, 2.0, 5.0, 10.0})
        if (f * ten >= rough) return f * ten;
    return 10.0 * ten;
}

std::string Escaped(const std::string& text) {
    std::string s;
    for (char c : text) s += c == '<' ? "&lt;" : c == '>' ? "&gt;" : c == '&' ? "&amp;" : std::string(1, c);
    return s;
}
}  // namespace

std::string CoordinateText(double value, double step) {
    int decimals = 0;
    for (double s = std::abs(step); decimals < 6 && s > 0.0 && std::abs(s - std::round(s)) > 1e-9 * std::max(1.0, s);
         s *= 10.0)
        ++decimals;
    std::ostringstream digits;
    digits.setf(std::ios::fixed);
    digits.precision(decimals);
    digits << std::abs(value);
    std::string text = digits.str();
    const size_t point = text.find('.');
    std::string whole = text.substr(0, point), grouped;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) grouped += ',';
        grouped += whole[i];
    }
    const bool zero = text.find_first_not_of("0.") == std::string::npos;
    return (value < 0.0 && !zero ? "-" : "") + grouped + (point == std::string::npos ? "" : text.substr(point));
}

std::string PlanTitleSvg(const std::string& title, const std::string& subtitle, double left, double top) {
    std::ostringstream svg;
    svg.precision(10);
    svg << "<g class=\"title\" font-family=\"sans-serif\">\n<text x=\"" << left << "\" y=\"" << top + 18
        << "\" font-size=\"17\" font-weight=\"bold\">" << Escaped(title) << "</text>\n<text x=\"" << left << "\" y=\""
        << top + 33 << "\" font-size=\"11\" fill=\"dimgray\">" << Escaped(subtitle) << "</text>\n</g>\n";
    return svg.str();
}

std::string NorthArrowSvg(double x, double y) {
    std::ostringstream svg;
    svg.precision(10);
    // Two halves, the west one dark: the arrow reads the same on light and dark ground.
    svg << "<g class=\"north-arrow\">\n<circle cx=\"" << x << "\" cy=\"" << y + 15
        << "\" r=\"14\" fill=\"white\" fill-opacity=\"0.8\" stroke=\"black\" stroke-width=\"1\"/>\n"
        << "<path d=\"M" << x << ' ' << y + 2 << " L" << x - 7 << ' ' << y + 28 << " L" << x << ' ' << y + 22
        << " Z\" fill=\"black\"/>\n<path d=\"M" << x << ' ' << y + 2 << " L" << x + 7 << ' ' << y + 28 << " L" << x
        << ' ' << y + 22 << " Z\" fill=\"white\" stroke=\"black\" stroke-width=\"1\"/>\n<text x=\"" << x << "\" y=\""
        << y - 3
        << "\" font-family=\"sans-serif\" font-size=\"12\" font-weight=\"bold\" text-anchor=\"middle\">N</text>\n"
        << "</g>\n";
    return svg.str();
}

std::string CoordinateTicksSvg(const PlanPlot& plot, double* stepOut) {
    const double step = RoundStep(std::max(plot.maxX - plot.minX, plot.maxY - plot.minY), 6.0);
    if (stepOut != nullptr) *stepOut = step;
    const double bottom = plot.top + plot.Height();
    std::ostringstream svg;
    svg.precision(10);
    svg << "<g class=\"ticks\" font-family=\"sans-serif\" font-size=\"10\">\n<rect x=\"" << plot.left << "\" y=\""
        << plot.top << "\" width=\"" << plot.Width() << "\" height=\"" << plot.Height()
        << "\" fill=\"none\" stroke=\"dimgray\" stroke-width=\"1\"/>\n";
    // Eastings under the plan, northings left of it.
    for (double k = std::ceil(plot.minX / step - 1e-9); k * step <= plot.maxX + 1e-9 * step; ++k) {
        const double x = plot.left + (k * step - plot.minX) * plot.scale;
        svg << "<line x1=\"" << x << "\" y1=\"" << bottom << "\" x2=\"" << x << "\" y2=\"" << bottom + 5
            << "\" stroke=\"black\" stroke-width=\"1\"/>\n<text x=\"" << x << "\" y=\"" << bottom + 16
            << "\" text-anchor=\"middle\">" << CoordinateText(k * step, step) << "</text>\n";
    }
    for (double k = std::ceil(plot.minY / step - 1e-9); k * step <= plot.maxY + 1e-9 * step; ++k) {
        const double y = plot.top + (plot.maxY - k * step) * plot.scale;
        svg << "<line x1=\"" << plot.left - 5 << "\" y1=\"" << y << "\" x2=\"" << plot.left << "\" y2=\"" << y
            << "\" stroke=\"black\" stroke-width=\"1\"/>\n<text x=\"" << plot.left - 7 << "\" y=\"" << y + 3.5
            << "\" text-anchor=\"end\">" << CoordinateText(k * step, step) << "</text>\n";
    }
    svg << "</g>\n";
    return svg.str();
}

std::string ContourLabelsSvg(const std::vector<ContourLabel>& labels, double step) {
    if (labels.empty()) return "";
    std::ostringstream svg;
    svg.precision(10);
    // A halo of the ground's white keeps the digits legible over the lines and the shading.
    svg << "<g class=\"contour-labels\" font-family=\"sans-serif\" font-size=\"9\" fill=\"saddlebrown\" "
           "stroke=\"white\" stroke-width=\"2.5\" paint-order=\"stroke\" text-anchor=\"middle\">\n";
    for (const ContourLabel& l : labels)
        svg << "<text x=\"" << l.x << "\" y=\"" << l.y + 3 << "\">" << CoordinateText(l.level, step) << "</text>\n";
    svg << "</g>\n";
    return svg.str();
}
