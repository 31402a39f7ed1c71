#pragma once

#include <QString>

namespace report {

// What a report walks: a snapshot of rows whose fields are fetched by name.
// A run walks it from the first row to the last as often as it needs
// (its passes, and again when printing), so it must not change meanwhile.
class DataPipeline
{
public:
    virtual ~DataPipeline() = default;

    virtual int rowCount() const = 0;
    // Index of a field for fast access, matched without regard to case; -1 if absent.
    virtual int fieldIndex(const QString &name) const = 0;
    // The field's value as printable text; empty for Null, for an absent
    // field (index -1) and for values that cannot be turned into text.
    virtual QString text(int row, int field) const = 0;
};

} // namespace report
