#pragma once

#include <functional>
#include <memory>

namespace report {

class ReportRun;

// Makes a fresh run of the same layout over the same rows. The preview takes
// one to show and printing another, so printing starts again from the first
// row with the texts the layout held when the command started.
using RunFactory = std::function<std::unique_ptr<ReportRun>()>;

} // namespace report
