#include "model3d/PlanLegend.hpp"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {
// A length of 1, 2 or 5 times a power of ten, at most `most`.
double RoundLength(double most) {
    if (!(most > 0.0) || !std::isfinite(most)) return 1.0;
    const double ten = std::pow(10.0, std::floor(std::log10(most)));
    for (double f : {5.0, 2.0, 1.0})
        if (f * ten <= most) return f * ten;
    return ten;
}

std::string HeightText(double z) {
    std::ostringstream s;
    s.precision(std::abs(z) >= 1000.0 ? 6 : 4);
    s << z << " m";
    return s.str();
}

struct Key {
    const char* text;
    const char* stroke;
    const char* dash;
};
// In the order of PlanKey.
constexpr Key kKeys[int(PlanKey::Count)] = {{"point", "black", ""},
                                            {"edge", "black", ""},
                                            {"slope foot", "darkorange", "4 3"},
                                            {"daylight", "orangered", ""},
                                            {"outline", "darkorchid", ""},
                                            {"contour", "sienna", ""},
                                            {"polyline", "dimgray", ""},
                                            {"level line", "saddlebrown", ""},
                                            {"fill", "royalblue", ""},
                                            {"line", "crimson", ""},
                                            {"object", "darkorchid", "2 2"}};
}  // namespace

PlanKeyStyle KeyStyle(PlanKey key) { return {kKeys[int(key)].stroke, kKeys[int(key)].dash}; }

// Warm for ground taken, cool for ground added: neither is a height colour.
const char* CutColour() { return "rgb(214,69,46)"; }
const char* FillColour() { return "rgb(52,101,214)"; }

std::string VolumeText(double cubicMetres) {
    const double rounded = std::round(std::isfinite(cubicMetres) ? std::abs(cubicMetres) : 0.0);
    std::ostringstream digits;
    digits.setf(std::ios::fixed);
    digits.precision(0);
    digits << rounded;
    const std::string whole = digits.str();
    std::string grouped;
    for (size_t i = 0; i < whole.size(); ++i) {
        if (i > 0 && (whole.size() - i) % 3 == 0) grouped += ',';
        grouped += whole[i];
    }
    return (cubicMetres < 0.0 && rounded > 0.0 ? "-" : "") + grouped + " m3";
}

std::string HeightColour(double t) {
    t = std::clamp(std::isfinite(t) ? t : 0.0, 0.0, 1.0);
    const int r = int(std::lround(40 + t * (230 - 40))), g = int(std::lround(110 + t * (215 - 110))),
              b = int(std::lround(60 + t * (160 - 60)));
    std::ostringstream s;
    s << "rgb(" << r << ',' << g << ',' << b << ')';
    return s.str();
}

std::string LengthText(double metres) {
    std::ostringstream s;
    s.precision(6);
    if (metres >= 1000.0)
        s << metres / 1000.0 << " km";
    else if (metres >= 1.0)
        s << metres << " m";
    else
        s << metres * 100.0 << " cm";
    return s.str();
}

std::string PlanLegendSvg(const PlanLegend& legend, double left, double right, double top, double pixelsPerMetre,
                          double planMetres) {
    std::ostringstream svg;
    svg.precision(10);
    double x = left;
    svg << "<g class=\"legend\" font-family=\"sans-serif\" font-size=\"11\">\n";
    if (legend.heights) {
        const int steps = 8;
        for (int i = 0; i < steps; ++i)
            svg << "<rect x=\"" << x + i * 14.0 << "\" y=\"" << top << "\" width=\"14\" height=\"12\" fill=\""
                << HeightColour((i + 0.5) / steps) << "\"/>\n";
        svg << "<text x=\"" << x << "\" y=\"" << top + 26 << "\">" << HeightText(legend.zMin) << "</text>\n";
        svg << "<text x=\"" << x + steps * 14.0 << "\" y=\"" << top + 26 << "\" text-anchor=\"end\">"
            << HeightText(legend.zMax) << "</text>\n";
        x += steps * 14.0 + 16.0;
    }
    // The earthworks' shading with what they move, the final ground against the original.
    if (legend.earthworks) {
        for (const auto& [colour, text] : {std::make_pair(CutColour(), "cut " + VolumeText(legend.cutVolume)),
                                           std::make_pair(FillColour(), "fill " + VolumeText(legend.fillVolume))}) {
            svg << "<rect x=\"" << x << "\" y=\"" << top << "\" width=\"14\" height=\"12\" fill=\"" << colour
                << "\" fill-opacity=\"" << kEarthworkOpacity << "\"/>\n<text class=\"volume\" x=\"" << x + 18
                << "\" y=\"" << top + 10 << "\">" << text << "</text>\n";
            x += 26.0 + 6.5 * double(text.size());
        }
    }
    // The scale bar takes the band's right end; the keys wrap into rows left of it.
    const double barLength = RoundLength(planMetres / 4.0);
    const double barPx = barLength * pixelsPerMetre, barX = right - barPx, barY = top + 36;
    const double keysFrom = x, keysTo = barX - 16.0;
    double row = top;
    for (int k = 0; k < int(PlanKey::Count); ++k) {
        if (!legend.shown[k]) continue;
        std::string text = kKeys[k].text;
        if (PlanKey(k) == PlanKey::Contour && legend.contourInterval > 0.0)
            text += " every " + LengthText(legend.contourInterval);
        const double room = 30.0 + 6.5 * double(text.size());
        if (x + room > keysTo && x > keysFrom) x = keysFrom, row += 18.0;
        if (PlanKey(k) == PlanKey::Point)
            svg << "<circle cx=\"" << x + 9 << "\" cy=\"" << row + 6 << "\" r=\"2.5\" fill=\"black\"/>\n";
        else
            svg << "<line x1=\"" << x << "\" y1=\"" << row + 6 << "\" x2=\"" << x + 18 << "\" y2=\"" << row + 6
                << "\" stroke=\"" << kKeys[k].stroke << "\" stroke-width=\"2\""
                << (*kKeys[k].dash ? std::string(" stroke-dasharray=\"") + kKeys[k].dash + "\"" : "") << "/>\n";
        svg << "<text x=\"" << x + 22 << "\" y=\"" << row + 10 << "\">" << text << "</text>\n";
        x += room;
    }
    svg << "</g>\n";
    svg << "<g class=\"scalebar\" font-family=\"sans-serif\" font-size=\"11\">\n<rect x=\"" << barX << "\" y=\"" << barY
        << "\" width=\"" << barPx / 2 << "\" height=\"5\" fill=\"black\"/>\n<rect x=\"" << barX + barPx / 2 << "\" y=\""
        << barY << "\" width=\"" << barPx / 2
        << "\" height=\"5\" fill=\"white\" stroke=\"black\" stroke-width=\"1\"/>\n<text x=\"" << barX << "\" y=\""
        << barY - 4 << "\">0</text>\n<text x=\"" << barX + barPx << "\" y=\"" << barY - 4 << "\" text-anchor=\"end\">"
        << LengthText(barLength) << "</text>\n</g>\n";
    return svg.str();
}
