#pragma once

#include <QString>

class QWidget;

// The standard texts that many operations share.
namespace stdmsg {
inline const char* const GagalTerhubung = "Gagal terhubung ke database kinerja!";
inline const char* const GagalMenampilkan = "Gagal menampilkan informasi!";
inline const char* const GagalMengambil = "Gagal mengambil data!";
inline const char* const GagalMenyimpan = "Gagal menyimpan data!";
inline const char* const BerhasilDisimpan = "Data berhasil disimpan!";
inline const char* const BerhasilDihapus = "Data berhasil dihapus!";
inline const char* const TidakAdaDipilih = "Tidak ada data yang dipilih!";
} // namespace stdmsg

// The one way pages talk to the user: modal messages of four kinds and a
// Yes/No question. Multi-line texts use carriage returns as line breaks.
// Production shows message boxes; tests pass a recorder.
class Messages {
public:
    enum class Kind { Warning, Error, Information, Confirmation, Plain };

    virtual ~Messages() = default;
    virtual void show(Kind kind, const QString& text) = 0;
    // True only when the user answers Yes.
    virtual bool confirm(const QString& text) = 0;

    void warning(const QString& text) { show(Kind::Warning, text); }
    void error(const QString& text) { show(Kind::Error, text); }
    void information(const QString& text) { show(Kind::Information, text); }
    void plain(const QString& text) { show(Kind::Plain, text); }
};

// The narrowest message box: wide enough for every caption in its title bar.
inline constexpr int kMinBoxWidth = 320;

// Message boxes with Indonesian captions and buttons.
class BoxMessages : public Messages {
public:
    explicit BoxMessages(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }
    void show(Kind kind, const QString& text) override;
    bool confirm(const QString& text) override;

private:
    QWidget* parent_;
};
