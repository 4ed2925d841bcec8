#pragma once
// The solid links of a mesh computed on its solid, in link order: each operator's bodies taken away with all above
// them ('SSUU'), with all below them ('SSUD'), or joined ('SADD'). On a terrain only the columns near the bodies
// take part (see TerrainColumns): the others are stitched back unchanged and their volume is added exactly. The
// solids after each step are kept, so that a later run whose base and first steps are the same (a link removed,
// the same state asked again) starts from there; every solid is a function of those inputs alone.
#include "APIDefs.hpp"
#include "model3d/ModelBody.hpp"

#include <array>
#include <memory>
#include <string>
#include <vector>

class TerrainColumns;
struct VolumeBounds;

// One link as the solid sees it: what it does and the operator's bodies; `clips` are slabs whose downward
// extrusion takes from the bodies before they join (downward subtractions linked after an addition).
struct LinkStep {
    uint32_t operation = 0;
    std::vector<ModelBody> bodies;
    std::vector<ModelBody> clips;
    API_Guid operatorGuid = {};
};

// Whether the operations take the step's bodies: each closed, and neither it nor what it sweeps meets itself (what
// a run refuses before it computes anything).
bool StepTakeable(const LinkStep& step);

class EarthworkChain {
public:
    EarthworkChain();
    ~EarthworkChain();
    EarthworkChain(const EarthworkChain&) = delete;
    EarthworkChain& operator=(const EarthworkChain&) = delete;

    // The solid after the steps from `base`, a mesh's solid whose first `surfaceVertices` vertices are its
    // surface: of the columns near the bodies unless `whole` is asked or the columns cannot be taken on their own.
    GSErrCode Run(const std::shared_ptr<const ModelBody>& base, int32_t surfaceVertices, std::vector<LinkStep> steps,
                  bool whole, std::string* why);
    // The latest run's volume, exact and then rounded.
    double Volume();
    // How many points and triangles the surface of the latest run's solid has, counted as Body numbers them, without
    // reading it back; false before the first run.
    bool SurfaceCounts(int64_t* points, int64_t* triangles) const;
    // The faces of the latest run's solid that face up (of the part it computed, when it took one), as triangles.
    void TopFaces(std::vector<std::array<ModelPoint, 3>>* faces) const;
    // The same faces as rings, each from its least vertex (by x, then y, then z) round, in the order of those
    // rings: the same for every run that gives the same solid, however its faces and vertices are numbered.
    void TopRings(std::vector<std::vector<ModelPoint>>* rings) const;
    // The volume after the steps from `base`, as Run and then Volume give it, and whether it came from a part of
    // the columns. Solids that are the same point set have the same exact volume however they are numbered: the
    // kept solids serve steps whose bodies have the same shapes as theirs, and what is computed past them is kept
    // aside, so that Body still reads the latest run.
    GSErrCode VolumeOf(const std::shared_ptr<const ModelBody>& base, int32_t surfaceVertices,
                       std::vector<LinkStep> steps, double* volume, bool* partial, std::string* why);
    // Whether the latest run took a part of the columns.
    bool Partial() const;
    // The base of the latest run (null before the first).
    const ModelBody* Base() const;
    // The latest run's solid as one model body, its surface's vertices first (their count in `surfaceVertices`):
    // the columns left out as they were, joined to the computed part along their common walls.
    bool Body(ModelBody* out, int32_t* surfaceVertices, std::string* why) const;

private:
    struct Chain;
    static constexpr GSErrCode kRetryWhole = -1;
    bool Start(const std::shared_ptr<const ModelBody>& base, int32_t surfaceVertices,
               const std::vector<LinkStep>& steps, bool whole, std::string* why);
    bool ReadBack(ModelBody* out, int32_t* surfaceVertices, std::string* why) const;
    GSErrCode Compute(const std::shared_ptr<const ModelBody>& base, int32_t surfaceVertices,
                      std::vector<LinkStep> steps, bool whole, std::string* why);
    // VolumeOf from the kept solids alone; false when they cannot serve.
    bool VolumeFromKept(const std::shared_ptr<const ModelBody>& base, const std::vector<LinkStep>& steps,
                        double* volume);
    double VolumeAt(size_t k);
    const VolumeBounds& BoundsAt(size_t k);
    // The volume of the kept links up to steps.size() + 1 but the k-th, from the kept solids' volumes, when that
    // link meets none of the later ones; false when it cannot be had so.
    bool VolumeWithoutKeptStep(const std::vector<LinkStep>& steps, size_t k, double* volume);
    std::unique_ptr<Chain> chain_;
    std::unique_ptr<TerrainColumns> columns_;        // of the latest base
    mutable std::shared_ptr<const ModelBody> body_;  // the latest solid read back
    mutable int32_t bodySurfaceVertices_ = 0;
    // Volumes computed past the kept solids, by the shapes of their steps, for the latest chain's base.
    std::vector<std::pair<std::vector<double>, double>> volumesAside_;
};
