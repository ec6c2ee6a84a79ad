#include "indonesian.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QHash>
#include <QLocale>

namespace {

struct Text {
    const char* context;
    const char* source;
    const char* indonesian;
};

// Accelerators (&) are kept on letters that stay unique within each menu.
constexpr Text kTexts[] = {
    // Context menus of single-line and multi-line edits.
    {"QLineEdit", "&Undo", "&Urungkan"},
    {"QLineEdit", "&Redo", "U&lang"},
    {"QLineEdit", "Cu&t", "Po&tong"},
    {"QLineEdit", "&Copy", "&Salin"},
    {"QLineEdit", "&Paste", "T&empel"},
    {"QLineEdit", "Delete", "Hapus"},
    {"QLineEdit", "Select All", "Pilih Semua"},
    {"QWidgetTextControl", "&Undo", "&Urungkan"},
    {"QWidgetTextControl", "&Redo", "U&lang"},
    {"QWidgetTextControl", "Cu&t", "Po&tong"},
    {"QWidgetTextControl", "&Copy", "&Salin"},
    {"QWidgetTextControl", "Copy &Link Location", "Salin &Alamat Tautan"},
    {"QWidgetTextControl", "&Paste", "T&empel"},
    {"QWidgetTextControl", "Delete", "Hapus"},
    {"QWidgetTextControl", "Select All", "Pilih Semua"},
    // Extra items of the number and date fields' menu.
    {"QAbstractSpinBox", "&Select All", "&Pilih Semua"},
    {"QAbstractSpinBox", "&Step up", "&Naik"},
    {"QAbstractSpinBox", "Step &down", "T&urun"},
    // Standard buttons of dialogs and message boxes.
    {"QPlatformTheme", "OK", "OK"},
    {"QPlatformTheme", "Save", "Simpan"},
    {"QPlatformTheme", "Save All", "Simpan Semua"},
    {"QPlatformTheme", "Open", "Buka"},
    {"QPlatformTheme", "&Yes", "&Ya"},
    {"QPlatformTheme", "Yes to &All", "Ya untuk &Semua"},
    {"QPlatformTheme", "&No", "&Tidak"},
    {"QPlatformTheme", "N&o to All", "T&idak untuk Semua"},
    {"QPlatformTheme", "Abort", "Batalkan"},
    {"QPlatformTheme", "Retry", "Ulangi"},
    {"QPlatformTheme", "Ignore", "Abaikan"},
    {"QPlatformTheme", "Close", "Tutup"},
    {"QPlatformTheme", "Cancel", "Batal"},
    {"QPlatformTheme", "Discard", "Buang"},
    {"QPlatformTheme", "Help", "Bantuan"},
    {"QPlatformTheme", "Apply", "Terapkan"},
    {"QPlatformTheme", "Reset", "Atur Ulang"},
    {"QPlatformTheme", "Restore Defaults", "Kembalikan Semula"},
    // The same buttons where the desktop is GNOME-like.
    {"QGnomeTheme", "&OK", "&OK"},
    {"QGnomeTheme", "&Save", "&Simpan"},
    {"QGnomeTheme", "&Cancel", "&Batal"},
    {"QGnomeTheme", "&Close", "&Tutup"},
    {"QGnomeTheme", "Close without Saving", "Tutup tanpa Menyimpan"},
    // Message boxes with details, calendar navigation.
    {"QMessageBox", "Show Details...", "Tampilkan Rincian..."},
    {"QMessageBox", "Hide Details...", "Sembunyikan Rincian..."},
    {"QCalendarWidget", "Previous Month", "Bulan Sebelumnya"},
    {"QCalendarWidget", "Next Month", "Bulan Berikutnya"},
    // The monthly report's print preview and print dialog.
    {"QPrintPreviewDialog", "Print Preview", "Pratinjau Cetak"},
    {"QPrintPreviewDialog", "Next page", "Halaman berikutnya"},
    {"QPrintPreviewDialog", "Previous page", "Halaman sebelumnya"},
    {"QPrintPreviewDialog", "First page", "Halaman pertama"},
    {"QPrintPreviewDialog", "Last page", "Halaman terakhir"},
    {"QPrintPreviewDialog", "Fit width", "Sesuaikan lebar"},
    {"QPrintPreviewDialog", "Fit page", "Sesuaikan halaman"},
    {"QPrintPreviewDialog", "Zoom in", "Perbesar"},
    {"QPrintPreviewDialog", "Zoom out", "Perkecil"},
    {"QPrintPreviewDialog", "Portrait", "Tegak"},
    {"QPrintPreviewDialog", "Landscape", "Mendatar"},
    {"QPrintPreviewDialog", "Show single page", "Satu halaman"},
    {"QPrintPreviewDialog", "Show facing pages", "Dua halaman berhadapan"},
    {"QPrintPreviewDialog", "Show overview of all pages", "Semua halaman"},
    {"QPrintPreviewDialog", "Print", "Cetak"},
    {"QPrintPreviewDialog", "Page setup", "Pengaturan halaman"},
    {"QPrintPreviewDialog", "Page Setup", "Pengaturan Halaman"},
    {"QPrintDialog", "Print", "Cetak"},
    {"QPrintDialog", "&Print", "&Cetak"},
    {"QPrintDialog", "&Options >>", "&Opsi >>"},
    {"QPrintDialog", "&Options <<", "&Opsi <<"},
    {"QPrintDialog", "Print to File (PDF)", "Cetak ke File (PDF)"},
    {"QPrintDialog", "Local file", "File lokal"},
    {"QPrintDialog", "Write PDF file", "Tulis file PDF"},
    {"QPrintDialog", "Print To File ...", "Cetak ke File ..."},
    {"QPrintWidget", "Printer", "Printer"},
    {"QPrintWidget", "&Name:", "&Nama:"},
    {"QPrintWidget", "P&roperties", "P&roperti"},
    {"QPrintWidget", "Location:", "Lokasi:"},
    {"QPrintWidget", "Preview", "Pratinjau"},
    {"QPrintWidget", "Type:", "Jenis:"},
    {"QPrintWidget", "Output &file:", "&File keluaran:"},
    {"QPrintSettingsOutput", "Copies", "Salinan"},
    {"QPrintSettingsOutput", "Print range", "Rentang cetak"},
    {"QPrintSettingsOutput", "Print all", "Cetak semua"},
    {"QPrintSettingsOutput", "Pages from", "Halaman dari"},
    {"QPrintSettingsOutput", "to", "sampai"},
    {"QPrintSettingsOutput", "Pages", "Halaman"},
    {"QPrintSettingsOutput", "Current Page", "Halaman ini"},
    {"QPrintSettingsOutput", "Selection", "Pilihan"},
    {"QPrintSettingsOutput", "Output Settings", "Pengaturan Keluaran"},
    {"QPrintSettingsOutput", "Copies:", "Salinan:"},
    {"QPrintSettingsOutput", "Collate", "Susun"},
    {"QPrintSettingsOutput", "Reverse", "Urutan terbalik"},
    {"QPrintSettingsOutput", "Options", "Opsi"},
    {"QPrintSettingsOutput", "Color Mode", "Mode Warna"},
    {"QPrintSettingsOutput", "Color", "Berwarna"},
    {"QPrintSettingsOutput", "Grayscale", "Skala abu-abu"},
    {"QPrintSettingsOutput", "Duplex Printing", "Cetak Bolak-balik"},
    {"QPrintSettingsOutput", "None", "Tidak"},
    {"QPrintSettingsOutput", "Long side", "Sisi panjang"},
    {"QPrintSettingsOutput", "Short side", "Sisi pendek"},
    // The file dialogs of "Ekspor ke CSV..." and of the report's PDF.
    {"QFileDialog", "%1 already exists.\nDo you want to replace it?", "%1 sudah ada.\nGanti file tersebut?"},
    {"QFileDialog", "Back", "Kembali"},
    {"QFileDialog", "Go back", "Kembali"},
    {"QFileDialog", "Forward", "Maju"},
    {"QFileDialog", "Go forward", "Maju"},
    {"QFileDialog", "Parent Directory", "Folder Induk"},
    {"QFileDialog", "Go to the parent directory", "Ke folder induk"},
    {"QFileDialog", "Create New Folder", "Buat Folder Baru"},
    {"QFileDialog", "Create a New Folder", "Buat folder baru"},
    {"QFileDialog", "List View", "Tampilan Daftar"},
    {"QFileDialog", "Change to list view mode", "Tampilkan sebagai daftar"},
    {"QFileDialog", "Detail View", "Tampilan Rinci"},
    {"QFileDialog", "Change to detail view mode", "Tampilkan dengan rincian"},
    {"QFileDialog", "&Rename", "&Ganti Nama"},
    {"QFileDialog", "&Delete", "&Hapus"},
    {"QFileDialog", "Show &hidden files", "Tampilkan file &tersembunyi"},
    {"QFileDialog", "&New Folder", "Folder &Baru"},
    {"QFileDialog", "Computer", "Komputer"},
    {"QFileDialog", "Are you sure you want to delete '%1'?", "Yakin akan menghapus '%1'?"},
    {"QFileSystemModel", "Name", "Nama"},
    {"QFileSystemModel", "Size", "Ukuran"},
    {"QFileSystemModel", "Type", "Jenis"},
    {"QFileSystemModel", "Date Modified", "Tanggal Diubah"},
    {"QFileSystemModel", "Computer", "Komputer"},
    // The scroll bars' context menu.
    {"QScrollBar", "Scroll here", "Gulir ke sini"},
    {"QScrollBar", "Left edge", "Tepi kiri"},
    {"QScrollBar", "Top", "Paling atas"},
    {"QScrollBar", "Right edge", "Tepi kanan"},
    {"QScrollBar", "Bottom", "Paling bawah"},
    {"QScrollBar", "Page left", "Satu halaman ke kiri"},
    {"QScrollBar", "Page up", "Satu halaman ke atas"},
    {"QScrollBar", "Page right", "Satu halaman ke kanan"},
    {"QScrollBar", "Page down", "Satu halaman ke bawah"},
    {"QScrollBar", "Scroll left", "Gulir ke kiri"},
    {"QScrollBar", "Scroll up", "Gulir ke atas"},
    {"QScrollBar", "Scroll right", "Gulir ke kanan"},
    {"QScrollBar", "Scroll down", "Gulir ke bawah"},
};

const QHash<QByteArray, QString>& table()
{
    static const QHash<QByteArray, QString> t = [] {
        QHash<QByteArray, QString> h;
        for (const Text& x : kTexts)
            h.insert(QByteArray(x.context) + '\x04' + x.source, QString::fromUtf8(x.indonesian));
        return h;
    }();
    return t;
}

} // namespace

QString QtIndonesianTexts::translate(const char* context, const char* sourceText, const char*, int) const
{
    if (!context || !sourceText)
        return {};
    // An empty answer lets Qt fall back to its English source text.
    return table().value(QByteArray(context) + '\x04' + sourceText);
}

void applyIndonesian(QCoreApplication& app)
{
    QLocale::setDefault(QLocale(QLocale::Indonesian, QLocale::Indonesia));
    static QtIndonesianTexts texts;
    app.installTranslator(&texts);
}

void prepareSaveDialog(QFileDialog& dialog, const QString& nameFilter, const QString& suffix)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(nameFilter);
    dialog.setDefaultSuffix(suffix);
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Simpan di:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Nama file:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Jenis file:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Simpan"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Batal"));
}
