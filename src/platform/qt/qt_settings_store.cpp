#include "platform/qt/qt_settings_store.h"

#include <QSettings>
#include <QStringList>

namespace gyrel {

QtSettingsStore::QtSettingsStore(const QString& iniFile) {
    QString file = iniFile;
    if (file.isEmpty()) file = qEnvironmentVariable("GYREL_SETTINGS");
    if (!file.isEmpty())
        settings_ = std::make_unique<QSettings>(file, QSettings::IniFormat);
    else
        settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                                QStringLiteral("OBR_gyrel"), QStringLiteral("OBR_gyrel"));
}

QtSettingsStore::~QtSettingsStore() { settings_->sync(); }

std::optional<std::string> QtSettingsStore::get(const std::string& section, const std::string& key) const {
    const QString wanted = QString::fromStdString(key).toLower();
    settings_->beginGroup(QString::fromStdString(section));
    std::optional<std::string> found;
    for (const QString& stored : settings_->childKeys()) {
        if (stored.toLower() != wanted) continue;
        const QVariant v = settings_->value(stored);
        // A hand-edited INI value with commas reads back as a list.
        const QString text = v.metaType().id() == QMetaType::QStringList ? v.toStringList().join(',') : v.toString();
        found = text.toStdString();
        break;
    }
    settings_->endGroup();
    return found;
}

void QtSettingsStore::set(const std::string& section, const std::string& key, const std::string& value) {
    const QString name = QString::fromStdString(key);
    settings_->beginGroup(QString::fromStdString(section));
    for (const QString& stored : settings_->childKeys())
        if (stored != name && stored.toLower() == name.toLower()) settings_->remove(stored);
    settings_->setValue(name, QString::fromStdString(value));
    settings_->endGroup();
}

void QtSettingsStore::sync() { settings_->sync(); }

QString QtSettingsStore::fileName() const { return settings_->fileName(); }

}  // namespace gyrel
