#pragma once

class QCoreApplication;

namespace report {

// Makes every text Qt itself shows Italian, whatever the user's locale:
// the standard dialogs and buttons from Qt's own catalogue, and the few
// print dialog texts that catalogue lacks from ours, compiled in. Both the
// program and its command-line tool call it before showing anything.
void installItalianTranslations(QCoreApplication &application);

} // namespace report
