#include "pdfoutput.h"

#include "report/render.h"

#include <cstdio>
#include <unistd.h>

namespace {

void drawProgress(int done, int total)
{
    constexpr int barWidth = 40;
    const int filled = total > 0 ? done * barWidth / total : barWidth;
    std::fprintf(stderr, "\r[%.*s%*s] %d/%d pagine", filled,
                 "########################################", barWidth - filled, "", done, total);
    if (done == total)
        std::fputc('\n', stderr);
    std::fflush(stderr);
}

} // namespace

void writeRunToPdf(report::ReportRun &run, const QString &path)
{
    run.layoutAll();
    report::PageProgress progress;
    if (isatty(STDERR_FILENO)) {
        int shownPercent = -1;
        progress = [shownPercent](int done, int total) mutable {
            const int percent = done * 100 / total;
            if (percent != shownPercent || done == total) {
                shownPercent = percent;
                drawProgress(done, total);
            }
            return true;
        };
    }
    report::writePdf(run, path, progress);
}
