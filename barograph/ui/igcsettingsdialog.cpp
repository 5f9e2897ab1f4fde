// The IGC settings dialog.
#include "igcsettingsdialog.h"
#include "logbook/ui/questionparent.h"

#include "barograph/core/igcexport.h"
#include "barograph/core/messages.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

IgcSettingsDialog::IgcSettingsDialog(qint32 utcOffsetMinutes, const QString &sitesFile, QWidget *parent)
    : QDialog(parent), m_offsetMinutes(utcOffsetMinutes), m_offset(new QLineEdit(utcOffsetText(utcOffsetMinutes))),
      m_sites(new QLineEdit(sitesFile))
{
    setObjectName(QStringLiteral("IgcSettings"));
    setWindowTitle(baromsg::IgcSettingsCaption.toString());
    m_offset->setObjectName(QStringLiteral("EdUtcOffset"));
    m_sites->setObjectName(QStringLiteral("EdSitesFile"));
    m_sites->setMinimumWidth(280);
    auto *browse = new QPushButton(baromsg::IgcSettingsBrowse.toString());
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString path = QFileDialog::getOpenFileName(questionParent(this), QString(), m_sites->text(),
                                                          baromsg::SitesFileFilter.toString());
        if (!path.isEmpty())
            m_sites->setText(path);
    });
    auto *sitesRow = new QHBoxLayout;
    sitesRow->addWidget(m_sites);
    sitesRow->addWidget(browse);
    auto *form = new QFormLayout(this);
    form->addRow(baromsg::IgcSettingsOffset.toString(), m_offset);
    form->addRow(baromsg::IgcSettingsSites.toString(), sitesRow);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    form->addRow(buttons);
}

QString IgcSettingsDialog::sitesFile() const
{
    return m_sites->text().trimmed();
}

void IgcSettingsDialog::accept()
{
    const std::optional<qint32> offset = parseUtcOffset(m_offset->text());
    if (!offset) {
        QMessageBox::warning(questionParent(this), baromsg::IgcSettingsCaption.toString(), baromsg::IgcSettingsBadOffset.toString());
        return;
    }
    m_offsetMinutes = *offset;
    QDialog::accept();
}
