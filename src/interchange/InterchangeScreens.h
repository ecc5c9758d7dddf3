// The ADIF screens: "Export to ADIF file" and "IMPORT A LOG IN ADIF FORMAT".
#pragma once

#include <string>

#include "interchange/AdifImport.h"
#include "shell/ScreenContext.h"

namespace vl {

void show_export_log(const ScreenContext& ctx, platform::WindowId owner);
void show_import_log(const ScreenContext& ctx, platform::WindowId owner);

// The closing words of an import: the count first, then each kind of skipped record.
std::string import_summary(int imported, const ImportBatch& batch);

}  // namespace vl
