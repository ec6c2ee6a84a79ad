#include "indonesian.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHash>
#include <QLocale>
#include <QStandardPaths>

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
    // Qt's own wizard and input box, should a dialog ever use them.
    {"QWizard", "< &Back", "< S&ebelumnya"},
    {"QWizard", "&Next >", "&Berikutnya >"},
    {"QWizard", "Commit", "Simpan"},
    {"QWizard", "&Finish", "&Selesai"},
    {"QWizard", "Cancel", "Batal"},
    {"QWizard", "&Help", "&Bantuan"},
    {"QWizard", "Go Back", "Kembali"},
    {"QWizard", "Continue", "Lanjut"},
    {"QWizard", "Done", "Selesai"},
    {"QWizard", "Help", "Bantuan"},
    {"QInputDialog", "Enter a value:", "Isikan nilai:"},
    {"QDialog", "What's This?", "Apa Ini?"},
    {"QTabBar", "Scroll Left", "Geser ke Kiri"},
    {"QTabBar", "Scroll Right", "Geser ke Kanan"},
    {"CloseButton", "Close Tab", "Tutup Tab"},
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
    {"QPrintPreviewDialog", "%1%", "%1%"},
    {"QPrintDialog", "Print", "Cetak"},
    {"QPrintDialog", "&Print", "&Cetak"},
    {"QPrintDialog", "&Options >>", "&Opsi >>"},
    {"QPrintDialog", "&Options <<", "&Opsi <<"},
    {"QPrintDialog", "Print to File (PDF)", "Cetak ke File (PDF)"},
    {"QPrintDialog", "Local file", "File lokal"},
    {"QPrintDialog", "Write PDF file", "Tulis file PDF"},
    {"QPrintDialog", "Print To File ...", "Cetak ke File ..."},
    {"QPrintDialog", "All Pages", "Semua Halaman"},
    {"QPrintDialog", "Odd Pages", "Halaman Ganjil"},
    {"QPrintDialog", "Even Pages", "Halaman Genap"},
    {"QPrintDialog", "Automatic", "Otomatis"},
    {"QPrintDialog", "Left to Right, Top to Bottom", "Kiri ke Kanan, Atas ke Bawah"},
    {"QPrintDialog", "Left to Right, Bottom to Top", "Kiri ke Kanan, Bawah ke Atas"},
    {"QPrintDialog", "Right to Left, Bottom to Top", "Kanan ke Kiri, Bawah ke Atas"},
    {"QPrintDialog", "Right to Left, Top to Bottom", "Kanan ke Kiri, Atas ke Bawah"},
    {"QPrintDialog", "Bottom to Top, Left to Right", "Bawah ke Atas, Kiri ke Kanan"},
    {"QPrintDialog", "Bottom to Top, Right to Left", "Bawah ke Atas, Kanan ke Kiri"},
    {"QPrintDialog", "Top to Bottom, Left to Right", "Atas ke Bawah, Kiri ke Kanan"},
    {"QPrintDialog", "Top to Bottom, Right to Left", "Atas ke Bawah, Kanan ke Kiri"},
    {"QPrintDialog", "1 (1x1)", "1 (1x1)"},
    {"QPrintDialog", "2 (2x1)", "2 (2x1)"},
    {"QPrintDialog", "4 (2x2)", "4 (2x2)"},
    {"QPrintDialog", "6 (2x3)", "6 (2x3)"},
    {"QPrintDialog", "9 (3x3)", "9 (3x3)"},
    {"QPrintDialog", "16 (4x4)", "16 (4x4)"},
    {"QPrintDialog", "%1 is a directory.\nPlease choose a different file name.",
     "%1 adalah folder.\nPilih nama file yang lain."},
    {"QPrintDialog", "%1 already exists.\nDo you want to overwrite it?", "%1 sudah ada.\nTimpa file tersebut?"},
    {"QPrintDialog", "File %1 is not writable.\nPlease choose a different file name.",
     "File %1 tidak dapat ditulis.\nPilih nama file yang lain."},
    {"QPrintDialog", "Invalid Pages Definition", "Halaman Tidak Valid"},
    {"QPrintDialog",
     "%1 does not follow the correct syntax. Please use ',' to separate ranges and pages, '-' to define ranges and "
     "make sure ranges do not intersect with each other.",
     "%1 tidak sesuai aturan penulisan. Pisahkan rentang dan halaman dengan ',', tulis rentang dengan '-', dan "
     "jangan biarkan rentang saling tumpang tindih."},
    {"QPrintDialog", "Duplex Settings Conflicts", "Pengaturan Bolak-balik Bertentangan"},
    {"QPrintDialog", "There are conflicts in duplex settings. Do you want to fix them?",
     "Pengaturan cetak bolak-balik saling bertentangan. Perbaiki sekarang?"},
    {"QPrintDialog", "Options 'Pages Per Sheet' and 'Page Set' cannot be used together.\nPlease turn one of those options off.",
     "Opsi 'Halaman per lembar' dan 'Kumpulan halaman' tidak dapat dipakai bersamaan.\nMatikan salah satunya."},
    {"QPrintDialog", "The 'From' value cannot be greater than the 'To' value.",
     "Nilai 'dari' tidak boleh lebih besar dari nilai 'sampai'."},
    {"QPrintDialog", "OK", "OK"},
    {"QPrintPropertiesDialog", "Printer Properties", "Properti Printer"},
    {"QPrintPropertiesDialog", "Job Options", "Opsi Pekerjaan"},
    {"QPrintPropertiesDialog", "Page Setup Conflicts", "Pengaturan Halaman Bertentangan"},
    {"QPrintPropertiesDialog", "There are conflicts in page setup options. Do you want to fix them?",
     "Pengaturan halaman saling bertentangan. Perbaiki sekarang?"},
    {"QPrintPropertiesDialog", "Advanced Option Conflicts", "Opsi Lanjutan Bertentangan"},
    {"QPrintPropertiesDialog", "There are conflicts in some advanced options. Do you want to fix them?",
     "Beberapa opsi lanjutan saling bertentangan. Perbaiki sekarang?"},
    {"QPrintPropertiesWidget", "Form", "Form"},
    {"QPrintPropertiesWidget", "Page", "Halaman"},
    {"QPrintPropertiesWidget", "Advanced", "Lanjutan"},
    {"QPageSetupWidget", "Form", "Form"},
    {"QPageSetupWidget", "Paper", "Kertas"},
    {"QPageSetupWidget", "Page size:", "Ukuran kertas:"},
    {"QPageSetupWidget", "Width:", "Lebar:"},
    {"QPageSetupWidget", "Height:", "Tinggi:"},
    {"QPageSetupWidget", "Paper source:", "Sumber kertas:"},
    {"QPageSetupWidget", "Orientation", "Orientasi"},
    {"QPageSetupWidget", "Portrait", "Tegak"},
    {"QPageSetupWidget", "Landscape", "Mendatar"},
    {"QPageSetupWidget", "Reverse landscape", "Mendatar terbalik"},
    {"QPageSetupWidget", "Reverse portrait", "Tegak terbalik"},
    {"QPageSetupWidget", "Margins", "Margin"},
    {"QPageSetupWidget", "top margin", "margin atas"},
    {"QPageSetupWidget", "left margin", "margin kiri"},
    {"QPageSetupWidget", "right margin", "margin kanan"},
    {"QPageSetupWidget", "bottom margin", "margin bawah"},
    {"QPageSetupWidget", "Page Layout", "Tata Letak Halaman"},
    {"QPageSetupWidget", "Page order:", "Urutan halaman:"},
    {"QPageSetupWidget", "Pages per sheet:", "Halaman per lembar:"},
    {"QPageSetupWidget", "Millimeters (mm)", "Milimeter (mm)"},
    {"QPageSetupWidget", "Inches (in)", "Inci (in)"},
    {"QPageSetupWidget", "Points (pt)", "Poin (pt)"},
    {"QPageSetupWidget", "Pica (P\xCC\xB8)", "Pika (P\xCC\xB8)"},
    {"QPageSetupWidget", "Didot (DD)", "Didot (DD)"},
    {"QPageSetupWidget", "Cicero (CC)", "Cicero (CC)"},
    {"QPageSetupWidget", "Custom", "Ukuran sendiri"},
    {"QPageSetupWidget", "mm", "mm"},
    {"QCupsJobWidget", "Job", "Pekerjaan"},
    {"QCupsJobWidget", "Job Control", "Kendali Pekerjaan"},
    {"QCupsJobWidget", "Scheduled printing:", "Jadwal cetak:"},
    {"QCupsJobWidget", "Billing information:", "Informasi tagihan:"},
    {"QCupsJobWidget", "Job priority:", "Prioritas pekerjaan:"},
    {"QCupsJobWidget", "Banner Pages", "Halaman Sampul"},
    {"QCupsJobWidget", "Banner page at end", "Halaman sampul di akhir"},
    {"QCupsJobWidget", "Banner page at start", "Halaman sampul di awal"},
    {"QCupsJobWidget", "Print Immediately", "Cetak Segera"},
    {"QCupsJobWidget", "Hold Indefinitely", "Tahan Tanpa Batas"},
    {"QCupsJobWidget", "Day (06:00 to 17:59)", "Siang (06:00 s.d. 17:59)"},
    {"QCupsJobWidget", "Night (18:00 to 05:59)", "Malam (18:00 s.d. 05:59)"},
    {"QCupsJobWidget", "Second Shift (16:00 to 23:59)", "Giliran Kedua (16:00 s.d. 23:59)"},
    {"QCupsJobWidget", "Third Shift (00:00 to 07:59)", "Giliran Ketiga (00:00 s.d. 07:59)"},
    {"QCupsJobWidget", "Weekend (Saturday to Sunday)", "Akhir Pekan (Sabtu s.d. Minggu)"},
    {"QCupsJobWidget", "Specific Time", "Waktu Tertentu"},
    {"QCupsJobWidget", "None", "Tidak ada"},
    {"QCupsJobWidget", "Standard", "Standar"},
    {"QCupsJobWidget", "Unclassified", "Tidak rahasia"},
    {"QCupsJobWidget", "Confidential", "Rahasia"},
    {"QCupsJobWidget", "Classified", "Terbatas"},
    {"QCupsJobWidget", "Top Secret", "Sangat rahasia sekali"},
    {"QPrintWidget", "Printer", "Printer"},
    {"QPrintWidget", "&Name:", "&Nama:"},
    {"QPrintWidget", "P&roperties", "P&roperti"},
    {"QPrintWidget", "Location:", "Lokasi:"},
    {"QPrintWidget", "Preview", "Pratinjau"},
    {"QPrintWidget", "Type:", "Jenis:"},
    {"QPrintWidget", "Output &file:", "&File keluaran:"},
    {"QPrintWidget", "Form", "Form"},
    {"QPrintWidget", "...", "..."},
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
    {"QPrintSettingsOutput", "Form", "Form"},
    {"QPrintSettingsOutput", "Specify pages or ranges separated by commas. Ranges are specified by two numbers "
                             "separated by a hyphen. E.g: 3,5-7,9 prints pages 3, 5, 6, 7 and 9.",
     "Tulis halaman atau rentang halaman, dipisah koma. Rentang ditulis dengan dua angka dan tanda hubung. "
     "Contoh: 3,5-7,9 mencetak halaman 3, 5, 6, 7 dan 9."},
    {"QPrintSettingsOutput", "Page Set:", "Kumpulan halaman:"},
    {"QPrintSettingsOutput", "Double Sided Printing", "Cetak Bolak-balik"},
    {"QPrintSettingsOutput", "Off", "Mati"},
    {"QPrintSettingsOutput", "Long side binding", "Jilid sisi panjang"},
    {"QPrintSettingsOutput", "Short side binding", "Jilid sisi pendek"},
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
    {"QFileDialog", "Look in:", "Lihat di:"},
    {"QFileDialog", "Sidebar", "Panel samping"},
    {"QFileDialog", "List of places and bookmarks", "Daftar tempat dan penanda"},
    {"QFileDialog", "Files", "File"},
    {"QFileDialog", "Files of type:", "Jenis file:"},
    {"QFileDialog", "Find Directory", "Cari Folder"},
    {"QFileDialog", "Open", "Buka"},
    {"QFileDialog", "Save As", "Simpan Sebagai"},
    {"QFileDialog", "Directory:", "Folder:"},
    {"QFileDialog", "File &name:", "&Nama file:"},
    {"QFileDialog", "&Open", "&Buka"},
    {"QFileDialog", "&Choose", "&Pilih"},
    {"QFileDialog", "&Save", "&Simpan"},
    {"QFileDialog", "Show ", "Tampilkan "},
    {"QFileDialog", "All Files (*)", "Semua File (*)"},
    {"QFileDialog", "All files (*)", "Semua file (*)"},
    {"QFileDialog", "Directories", "Folder"},
    {"QFileDialog", "%1\nDirectory not found.\nPlease verify the correct directory name was given.",
     "%1\nFolder tidak ditemukan.\nPeriksa kembali nama folder yang dituliskan."},
    {"QFileDialog", "%1\nFile not found.\nPlease verify the correct file name was given.",
     "%1\nFile tidak ditemukan.\nPeriksa kembali nama file yang dituliskan."},
    {"QFileDialog", "New Folder", "Folder Baru"},
    {"QFileDialog", "Delete", "Hapus"},
    {"QFileDialog", "'%1' is write protected.\nDo you want to delete it anyway?",
     "'%1' dilindungi dari penulisan.\nTetap hapus?"},
    {"QFileDialog", "Could not delete directory.", "Folder tidak dapat dihapus."},
    {"QFileDialog", "Recent Places", "Tempat Terakhir"},
    {"QSidebar", "Remove", "Hapus dari daftar"},
    {"QAbstractFileIconProvider", "Drive", "Drive"},
    {"QAbstractFileIconProvider", "Folder", "Folder"},
    {"QAbstractFileIconProvider", "Unknown", "Tidak dikenal"},
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

// Texts of Qt that stay as they are: key names ("Ctrl", "Del") as Indonesian
// keyboards print them, and paper names ("A4", "Folio"); the file dialog's
// shortcuts are parsed back into keys, and the layout direction is a code.
constexpr const char* kKeptContexts[] = {"QShortcut", "QPageSize"};
constexpr Text kKept[] = {
    {"QGuiApplication", "QT_LAYOUT_DIRECTION", nullptr},
    {"QFileDialog", "Alt+Left", nullptr},
    {"QFileDialog", "Alt+Right", nullptr},
    {"QFileDialog", "Alt+Up", nullptr},
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

bool QtIndonesianTexts::covers(const char* context, const char* sourceText)
{
    if (!context || !sourceText)
        return false;
    for (const char* kept : kKeptContexts)
        if (qstrcmp(context, kept) == 0)
            return true;
    for (const Text& kept : kKept)
        if (qstrcmp(context, kept.context) == 0 && qstrcmp(sourceText, kept.source) == 0)
            return true;
    return table().contains(QByteArray(context) + '\x04' + sourceText);
}

void applyIndonesian(QCoreApplication& app)
{
    QLocale::setDefault(QLocale(QLocale::Indonesian, QLocale::Indonesia));
    static QtIndonesianTexts texts;
    app.installTranslator(&texts);
}

namespace {

// The folder of the last file saved in this run.
QString lastSaveFolder;

QString saveFolder()
{
    if (!lastSaveFolder.isEmpty() && QDir(lastSaveFolder).exists())
        return lastSaveFolder;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return !documents.isEmpty() && QDir(documents).exists() ? documents : QDir::homePath();
}

} // namespace

QString savedFile(const QFileDialog& dialog)
{
    const QStringList files = dialog.selectedFiles();
    if (dialog.result() != QDialog::Accepted || files.isEmpty())
        return {};
    lastSaveFolder = QFileInfo(files.constFirst()).absolutePath();
    return files.constFirst();
}

void prepareSaveDialog(QFileDialog& dialog, const QString& nameFilter, const QString& suffix)
{
    dialog.setDirectory(saveFolder());
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
