#pragma once

#include "report/pipeline.h"

#include <QList>
#include <QStringList>

// An in-memory pipeline for tests: named fields and rows of texts, with a
// count of the values fetched so a test can see what a page read.
class TablePipeline : public report::DataPipeline
{
public:
    TablePipeline(QStringList fields, QList<QStringList> rows)
        : m_fields(std::move(fields)), m_rows(std::move(rows))
    {
    }

    // Cards with ID 1..count; Campo<n> of card id holds "<id>.<n>" so every
    // cell on every page says where it came from.
    static TablePipeline cards(int count)
    {
        QStringList fields{QStringLiteral("ID")};
        for (int campo = 1; campo <= 27; ++campo)
            fields.append(QStringLiteral("Campo%1").arg(campo));
        QList<QStringList> rows;
        for (int id = 1; id <= count; ++id) {
            QStringList row{QString::number(id)};
            for (int campo = 1; campo <= 27; ++campo)
                row.append(QStringLiteral("%1.%2").arg(id).arg(campo));
            rows.append(row);
        }
        return TablePipeline(fields, rows);
    }

    int rowCount() const override { return int(m_rows.size()); }

    int fieldIndex(const QString &name) const override
    {
        for (qsizetype i = 0; i < m_fields.size(); ++i) {
            if (m_fields.at(i).compare(name, Qt::CaseInsensitive) == 0)
                return int(i);
        }
        return -1;
    }

    QString text(int row, int field) const override
    {
        ++m_fetches;
        return field < 0 ? QString() : m_rows.at(row).at(field);
    }

    int fetches() const { return m_fetches; }
    void setValue(int row, int field, const QString &value) { m_rows[row][field] = value; }

private:
    QStringList m_fields;
    QList<QStringList> m_rows;
    mutable int m_fetches = 0;
};
