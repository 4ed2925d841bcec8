#include "geometry/MeshBody.hpp"

void MeshBodyPart::Clear() {
    body = API_BodyType{};
    ShrinkToEmpty(vertices);
    ShrinkToEmpty(edges);
}
