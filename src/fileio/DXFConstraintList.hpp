#pragma once
// DXFConstraintList: the DXF reader's constraints. Every constraint the reader makes runs between two of its stored
// vertices, so it keeps the two vertex indices with the layer and group (16 bytes) rather than six coordinates; a
// constraint handed in whole (by a caller of AddConstraint or an assignment) keeps its record aside. Reading gives
// the whole record, built from the vertices, so callers see a list of constraints either way.
#include "foundation/PrefetchLine.hpp"

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

struct DXFFilePoint {
    double x = 0.0, y = 0.0, z = 0.0;  // metres
    int32_t layer = 0;                 // into the layer list
    int32_t group = 0;                 // 0: none; in the POINT list -1 marks a point covered by a vertex
};

struct DXFFileConstraint {
    double sx = 0.0, sy = 0.0, sz = 0.0;
    double ex = 0.0, ey = 0.0, ez = 0.0;
    int32_t layer = 0;
    int32_t group = 0;
};

class DXFConstraintList {
public:
    // The vertices the indices refer to; they must outlive the list and keep their order.
    explicit DXFConstraintList(const std::vector<DXFFilePoint>& vertices) : vertices_(&vertices) {}
    DXFConstraintList& operator=(std::initializer_list<DXFFileConstraint> list) {
        clear();
        for (const DXFFileConstraint& c : list) push_back(c);
        return *this;
    }

    size_t size() const { return refs_.size(); }
    bool empty() const { return refs_.empty(); }
    void clear() {
        refs_.clear();
        whole_.clear();
    }
    void reserve(size_t n) { refs_.reserve(n); }
    DXFFileConstraint operator[](size_t i) const {
        const Ref& r = refs_[i];
        DXFFileConstraint c;
        if (r.start < 0) {
            c = whole_[size_t(-r.start - 1)];
        } else {
            const DXFFilePoint &s = (*vertices_)[size_t(r.start)], &e = (*vertices_)[size_t(r.end)];
            c.sx = s.x, c.sy = s.y, c.sz = s.z, c.ex = e.x, c.ey = e.y, c.ez = e.z;
        }
        c.layer = r.layer, c.group = r.group;
        return c;
    }
    DXFFileConstraint back() const { return (*this)[size() - 1]; }
    // A constraint given whole.
    void push_back(const DXFFileConstraint& c) {
        whole_.push_back(c);
        refs_.push_back({-int32_t(whole_.size()), 0, c.layer, c.group});
    }
    // A constraint from vertex `start` to vertex `end`.
    void PushBetween(int32_t start, int32_t end, int32_t layer, int32_t group) {
        refs_.push_back({start, end, layer, group});
    }
    int32_t Group(size_t i) const { return refs_[i].group; }
    void SetGroup(size_t i, int32_t group) { refs_[i].group = group; }
    // The plan coordinates of the ends, read without building the record.
    void Plan(size_t i, double& sx, double& sy, double& ex, double& ey) const {
        const Ref& r = refs_[i];
        if (r.start < 0) {
            const DXFFileConstraint& c = whole_[size_t(-r.start - 1)];
            sx = c.sx, sy = c.sy, ex = c.ex, ey = c.ey;
            return;
        }
        const DXFFilePoint &s = (*vertices_)[size_t(r.start)], &e = (*vertices_)[size_t(r.end)];
        sx = s.x, sy = s.y, ex = e.x, ey = e.y;
    }
    // Whether item i starts at the vertex where item i - 1 ends.
    bool Chained(size_t i) const {
        return refs_[i].start >= 0 && refs_[i - 1].start >= 0 && refs_[i].start == refs_[i - 1].end;
    }
    // Starts loading the item's record, then its ends, for a look soon after.
    void Prefetch(size_t i) const { PrefetchLine(&refs_[i]); }
    void PrefetchEnds(size_t i) const {
        const Ref& r = refs_[i];
        if (r.start < 0) return;
        PrefetchLine(&(*vertices_)[size_t(r.start)]);
        PrefetchLine(&(*vertices_)[size_t(r.end)]);
    }
    // Item `from` takes the place of item `to` (to <= from); then the list is cut to `count`.
    void MoveTo(size_t to, size_t from) { refs_[to] = refs_[from]; }
    void resize(size_t count) { refs_.resize(count); }

    class const_iterator {
    public:
        const_iterator(const DXFConstraintList& list, size_t at) : list_(&list), at_(at) {}
        DXFFileConstraint operator*() const { return (*list_)[at_]; }
        const_iterator& operator++() {
            ++at_;
            return *this;
        }
        bool operator!=(const const_iterator& o) const { return at_ != o.at_; }
        bool operator==(const const_iterator& o) const { return at_ == o.at_; }

    private:
        const DXFConstraintList* list_;
        size_t at_;
    };
    const_iterator begin() const { return const_iterator(*this, 0); }
    const_iterator end() const { return const_iterator(*this, size()); }

private:
    struct Ref {
        int32_t start, end;  // vertex indices; a negative start -k: the whole record k - 1
        int32_t layer, group;
    };
    const std::vector<DXFFilePoint>* vertices_;
    std::vector<Ref> refs_;
    std::vector<DXFFileConstraint> whole_;
};
