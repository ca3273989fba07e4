#pragma once

// The lab's record sheets for the three measurements behind Form1's boxes
// (GB/T 50123-2019, see docs/LAB.md): the density by the ring cutter
// (密度试验，环刀法), the water content by oven drying (含水率试验，烘干法)
// and the specific gravity of the solids as measured. Each determination is
// worked out and recorded at the standard's precision (ρ to 0.01 g/cm³, w to
// 0.1 %), two parallel determinations are checked against the standard's
// largest allowed difference, and their mean gives the four measurements that
// from_lab turns into Form1's seven boxes. Plain C++, like the rest of calc/.

#include <string>
#include <vector>

#include "calc/phase_relations.h"

namespace vorlith {

// One ring: its mass m0 (g), the ring and its soil m1 (g), its volume V (cm³).
struct Ring {
    double m0 = 0, m1 = 0, V = 0;
};

// One tin: its mass m0 (g), the tin and the wet soil m1 (g), the tin and the
// soil after drying m2 (g).
struct Tin {
    double m0 = 0, m1 = 0, m2 = 0;
};

// One or two rings and one or two tins (more are not read), and ds.
struct RecordSheet {
    std::vector<Ring> rings;
    std::vector<Tin> tins;
    double ds = 0;
};

// A number recorded at a fixed precision: `units` of 10^-decimals, so that
// differences and means are exact decimal arithmetic.
struct Recorded {
    long long units = 0;
    int decimals = 0;
    double value() const;
    std::string text() const;  // "1.90", "0.74", "-0.6": the leading zero kept
};

// `x` at `decimals` places, rounded half to even (GB/T 8170's rule) from its
// 15 significant digits, so that 1.905 gives 1.90 and 1.915 gives 1.92
// whatever their binary neighbours. Raises RuntimeError 6 beyond 10^15 units.
Recorded record(double x, int decimals);

// The determinations of one quantity, each as recorded; with two, their
// difference against `limit`; and their mean at the same precision.
struct Determinations {
    std::vector<Recorded> values;
    Recorded difference;  // |first − second|; 0 with a single determination
    Recorded limit;       // the largest difference the standard allows
    Recorded mean;
    bool over_limit() const { return difference.units > limit.units; }
};

struct SheetWorking {
    Determinations density;  // g/cm³
    Determinations water;    // %
    double ds = 0;
    LabMeasurements lab;  // from the means, for from_lab
    std::vector<DataNote> notes;
};

// Works the sheet out. Raises RuntimeError 11 for a ring of volume 0 or a
// tin whose dry soil weighs nothing, 6 on overflow.
SheetWorking work_sheet(const RecordSheet& sheet);

// The sheet as a student writes it up, in Chinese, one line after another
// each ending in '\n': per ring and per tin its masses and its value, the
// difference against the limit, the mean, ds, the four measurements for
// Form1, and the notes (数据校核).
std::string sheet_text(const RecordSheet& sheet, const SheetWorking& working);

}  // namespace vorlith
