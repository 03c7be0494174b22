#include "platform/shell/Sound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFileInfo>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>

namespace platform {

bool sndPlaySoundA(const QString& file, quint32 flags) {
    Q_UNUSED(flags);
    if (file.isEmpty() || !QCoreApplication::instance() || !QFileInfo(file).isFile())
        return false;
    if (QMediaDevices::defaultAudioOutput().isNull())
        return false;
    // The effect lives until it has played or failed.
    auto* effect = new QSoundEffect(QCoreApplication::instance());
    QObject::connect(effect, &QSoundEffect::statusChanged, effect, [effect] {
        if (effect->status() == QSoundEffect::Error)
            effect->deleteLater();
    });
    QObject::connect(effect, &QSoundEffect::playingChanged, effect, [effect] {
        if (!effect->isPlaying())
            effect->deleteLater();
    });
    effect->setSource(QUrl::fromLocalFile(QFileInfo(file).absoluteFilePath()));
    effect->play();
    return true;
}

bool PlaySoundA(const QString& file, qint32 module, quint32 flags) {
    Q_UNUSED(module);
    return sndPlaySoundA(file, flags);
}

} // namespace platform
