#pragma once

#include <optional>
#include <string>

#include "calc/phase_relations.h"

namespace vorlith::cli {

// --csv: reads samples, one a line with the seven quantities in Form1's
// order (V,Vv,Vw,Vs,m,mw,ms; a first line of names is passed over), from
// `input` or standard input, and writes CSV to `output` or standard output:
// the seven texts as read, the thirteen results as Form1 leaves them, the
// error number (empty, 11 or 6) and the data notes; with `bom`, a UTF-8
// byte order mark before it all, so that a spreadsheet reads it as UTF-8. A
// line that cannot be a sample is reported on standard error with its
// number; one with the wrong number of fields keeps its place as a row of
// its fields with the error column saying why, one that is not UTF-8 or is
// over 1 MiB is left out. The others are computed.
int run_csv(const std::optional<std::u16string>& input, Gravity gravity,
            const std::optional<std::u16string>& output, bool bom = true);

}  // namespace vorlith::cli
