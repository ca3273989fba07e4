#pragma once

#include <string>
#include <vector>

#include "calc/phase_relations.h"
#include "runtime/operations.h"

namespace vorlith {

// The three-phase diagram of a sample, to scale: the volumes stacked in one
// column (air Va = Vv − Vw where there is any, water Vw, solids Vs, each as
// high as its share of their sum), the masses beside them (0, mw, ms), each
// part labelled with its symbol and value; and the same in words for a
// screen reader.
struct PhaseDiagram {
    std::vector<Shape> shapes;  // in twips, within width × height
    std::string alternative;
};
PhaseDiagram phase_diagram(const SoilSample& sample, int width, int height);

}  // namespace vorlith
