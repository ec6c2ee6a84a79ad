#include "wizardframe.h"

#include "pageheader.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

WizardFrame::WizardFrame(QWidget* parent) : QWidget(parent)
{
    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    header = new PageHeader(this);
    v->addWidget(header);
    subtitleLabel = new QLabel(this);
    subtitleLabel->setObjectName(QStringLiteral("wizardSubtitle"));
    subtitleLabel->setContentsMargins(12, 6, 12, 6);
    subtitleLabel->setStyleSheet(QStringLiteral("background: white; color: #4B2466; font-weight: bold;"));
    v->addWidget(subtitleLabel);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setStyleSheet(QStringLiteral("color: #D3D3D3;"));
    v->addWidget(line);
    stack_ = new QStackedWidget(this);
    v->addWidget(stack_, 1);
    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(10, 8, 10, 8);
    // The captions of the activity wizard, which every wizard shares.
    backButton = new QPushButton(QStringLiteral("< S&ebelumnya"), this);
    nextButton = new QPushButton(QStringLiteral("&Berikutnya >"), this);
    finishButton = new QPushButton(QStringLiteral("&Simpan"), this);
    cancelButton = new QPushButton(QStringLiteral("Batal"), this);
    bar->addStretch(1);
    for (QPushButton* b : {backButton, nextButton, finishButton, cancelButton}) {
        b->setAutoDefault(false);
        b->setMinimumWidth(110);
        bar->addWidget(b);
    }
    v->addLayout(bar);
    connect(backButton, &QPushButton::clicked, this, [this] { emit backClicked(currentPage()); });
    connect(nextButton, &QPushButton::clicked, this, [this] { emit nextClicked(currentPage()); });
    connect(finishButton, &QPushButton::clicked, this, [this] { emit finishClicked(currentPage()); });
    connect(cancelButton, &QPushButton::clicked, this, &WizardFrame::cancelClicked);
}

int WizardFrame::addPage(QWidget* page, const QString& subtitle, int buttons)
{
    subtitles_.append(subtitle);
    buttons_.append(buttons);
    const int index = stack_->addWidget(page);
    if (index == 0)
        setCurrentPage(0);
    return index;
}

void WizardFrame::setTitle(const QString& title)
{
    header->setCaption(title);
}

void WizardFrame::setSubtitle(int page, const QString& subtitle)
{
    if (page < 0 || page >= subtitles_.size())
        return;
    subtitles_[page] = subtitle;
    if (page == currentPage())
        subtitleLabel->setText(subtitle);
}

QString WizardFrame::subtitle(int page) const
{
    return page >= 0 && page < subtitles_.size() ? subtitles_[page] : QString();
}

int WizardFrame::currentPage() const
{
    return stack_->currentIndex();
}

int WizardFrame::pageCount() const
{
    return stack_->count();
}

bool WizardFrame::moveOn()
{
    for (QPushButton* b : {nextButton, finishButton}) {
        if (!b->isHidden() && b->isEnabled()) {
            b->click();
            return true;
        }
    }
    return false;
}

void WizardFrame::setCurrentPage(int page)
{
    if (page < 0 || page >= stack_->count())
        return;
    stack_->setCurrentIndex(page);
    subtitleLabel->setText(subtitles_[page]);
    updateButtons();
}

void WizardFrame::updateButtons()
{
    const int b = buttons_.value(currentPage(), 0);
    backButton->setVisible(true);
    backButton->setEnabled(b & Back);
    nextButton->setVisible(b & Next);
    finishButton->setVisible(b & Finish);
    cancelButton->setVisible(b & Cancel);
}
