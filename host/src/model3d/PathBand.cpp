#include "model3d/PathBand.hpp"

#include <cmath>

bool MitredNormals(const std::vector<ModelPoint>& path, std::vector<ModelPoint>* normals, std::string* why) {
    const size_t n = path.size();
    std::vector<ModelPoint> left(n - 1);
    for (size_t k = 0; k + 1 < n; ++k) {
        const double dx = path[k + 1].x - path[k].x, dy = path[k + 1].y - path[k].y, length = std::hypot(dx, dy);
        left[k] = {-dy / length, dx / length, 0.0};
    }
    normals->assign(n, {0.0, 0.0, 0.0});
    (*normals)[0] = left[0];
    (*normals)[n - 1] = left[n - 2];
    for (size_t i = 1; i + 1 < n; ++i) {
        const ModelPoint &a = left[i - 1], &b = left[i];
        const double meet = 1.0 + a.x * b.x + a.y * b.y;  // 2 cos^2 of half the turn
        if (meet < 0.02) {
            *why = "the path turns back on itself at its point " + std::to_string(i + 1);
            return false;
        }
        (*normals)[i] = {(a.x + b.x) / meet, (a.y + b.y) / meet, 0.0};
    }
    return true;
}

std::vector<ModelPoint> OffsetPath(const std::vector<ModelPoint>& path, const std::vector<ModelPoint>& normals,
                                   double offset, double dz) {
    std::vector<ModelPoint> out(path.size());
    for (size_t i = 0; i < path.size(); ++i)
        out[i] = {path[i].x + offset * normals[i].x, path[i].y + offset * normals[i].y, path[i].z + dz};
    return out;
}

bool RunsAlong(const std::vector<ModelPoint>& path, const std::vector<ModelPoint>& side) {
    for (size_t k = 0; k + 1 < path.size(); ++k) {
        const double dx = path[k + 1].x - path[k].x, dy = path[k + 1].y - path[k].y;
        if (!((side[k + 1].x - side[k].x) * dx + (side[k + 1].y - side[k].y) * dy > 0.0)) return false;
    }
    return true;
}

namespace {
// Each point's share of the polyline's plan length up to it.
std::vector<double> Shares(const std::vector<ModelPoint>& line) {
    std::vector<double> s(line.size(), 0.0);
    for (size_t i = 1; i < line.size(); ++i)
        s[i] = s[i - 1] + std::hypot(line[i].x - line[i - 1].x, line[i].y - line[i - 1].y);
    for (double& v : s) v = s.back() > 0.0 ? v / s.back() : 0.0;
    return s;
}

// The triangles between two polylines, advancing on the side whose next point comes first by share; `up` gives
// them facing up (left, right, next), else facing down.
void Zip(BodyBuilder& b, const std::vector<int32_t>& left, const std::vector<double>& leftShare,
         const std::vector<int32_t>& right, const std::vector<double>& rightShare, bool up) {
    size_t i = 0, j = 0;
    const auto add = [&](int32_t p, int32_t q, int32_t r) { up ? b.AddTriangle(p, q, r) : b.AddTriangle(p, r, q); };
    while (i + 1 < left.size() || j + 1 < right.size()) {
        if (j + 1 == right.size() || (i + 1 < left.size() && leftShare[i + 1] <= rightShare[j + 1])) {
            add(left[i], right[j], left[i + 1]);
            ++i;
        } else {
            add(left[i], right[j], right[j + 1]);
            ++j;
        }
    }
}
}  // namespace

ModelBody BandBody(const std::vector<ModelPoint>& leftTop, const std::vector<ModelPoint>& leftBottom,
                   const std::vector<ModelPoint>& rightTop, const std::vector<ModelPoint>& rightBottom) {
    BodyBuilder b;
    const auto add = [&](const std::vector<ModelPoint>& line) {
        std::vector<int32_t> ids;
        for (const ModelPoint& p : line) ids.push_back(b.AddVertex(p));
        return ids;
    };
    const std::vector<int32_t> lt = add(leftTop), lb = add(leftBottom), rt = add(rightTop), rb = add(rightBottom);
    const std::vector<double> ls = Shares(leftTop), rs = Shares(rightTop);
    Zip(b, lt, ls, rt, rs, true);
    Zip(b, lb, ls, rb, rs, false);
    for (size_t i = 0; i + 1 < lt.size(); ++i) {
        b.AddTriangle(lt[i], lt[i + 1], lb[i + 1]);
        b.AddTriangle(lt[i], lb[i + 1], lb[i]);
    }
    for (size_t j = 0; j + 1 < rt.size(); ++j) {
        b.AddTriangle(rt[j], rb[j], rb[j + 1]);
        b.AddTriangle(rt[j], rb[j + 1], rt[j + 1]);
    }
    b.AddTriangle(rb.front(), rt.front(), lt.front());
    b.AddTriangle(rb.front(), lt.front(), lb.front());
    b.AddTriangle(lb.back(), lt.back(), rt.back());
    b.AddTriangle(lb.back(), rt.back(), rb.back());
    return b.Finish();
}
