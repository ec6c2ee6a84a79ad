#pragma once

// What the other features use of the report: the monthly report dialog.

class PageContext;
class QDate;
class QString;

// "Cetak Laporan Bulanan" of one civil servant, the month of `month`
// preselected.
void openMonthlyReport(PageContext& ctx, const QString& nip, const QString& nama, const QDate& month);
