#include "cli/commands.h"

#include "cli/detection.h"
#include "cli/failure.h"
#include "cli/output.h"
#include "cli/profile.h"
#include "cli/session.h"
#include "cli/state.h"
#include "words/texts.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// A unit may need a moment after its acknowledgement before it listens at
// its new settings.
constexpr int kSettleAfterActivationMs = 200;
constexpr qint64 kMaxProfileBytes = 65536;

void printJson(const QJsonObject &object)
{
    printData(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

QJsonObject located(const Invocation &run, const Session &session)
{
    return {{QStringLiteral("port"), run.port.name}, {QStringLiteral("device"), session.line().device()}};
}

QString said(const char *text)
{
    return QString::fromUtf8(text);
}

// The settings found; with --json, in the result they complete.
int printFound(const Invocation &run, QJsonObject result, const QString &settings)
{
    if (!run.json) {
        printData(settings);
        return exitcode::kDone;
    }
    result.insert(QStringLiteral("settings"), settings);
    printJson(result);
    return exitcode::kDone;
}

std::optional<ProfileFile> profileFile(const Invocation &run)
{
    if (!run.profile)
        return std::nullopt;
    QFile file(*run.profile);
    if (!file.exists())
        throw Failure{exitcode::kBadInput, QStringLiteral("找不到参数文件 %1").arg(*run.profile)};
    if (!file.open(QIODevice::ReadOnly))
        throw Failure{exitcode::kBadInput, QStringLiteral("无法读取 %1：%2").arg(*run.profile, file.errorString())};
    // A profile is a few hundred bytes; a device or a stray large file given
    // by mistake must not be read without end.
    const QByteArray content = file.read(kMaxProfileBytes + 1);
    if (content.size() > kMaxProfileBytes)
        throw Failure{exitcode::kBadInput, QStringLiteral("%1 过大（超过 %2 字节），不是参数文件").arg(*run.profile).arg(kMaxProfileBytes)};
    return ProfileFile{*run.profile, content};
}

} // namespace

int detectUnit(const Invocation &run)
{
    Session session(run);
    const QString settings = session.reach();
    printMessage(said(words::outcomes::kDeviceFound));
    return printFound(run, located(run, session), settings);
}

int readUnit(const Invocation &run)
{
    Session session(run);
    session.reach();
    const protocol::ParameterReply reply = session.readUnit();
    printMessage(said(words::outcomes::kReadDone));
    if (run.json) {
        printData(profileJson(reply));
        return exitcode::kDone;
    }
    const FieldValues values = valuesOf(reply);
    for (const Field field : kAllFields) {
        const bool hertz = kindOf(field) == FieldKind::Frequency;
        printData(QString::fromUtf8(namesOf(field).label) + shown(field, values[std::size_t(field)])
                  + (hertz ? QStringLiteral(" Hz") : QString()));
    }
    return exitcode::kDone;
}

int writeUnit(const Invocation &run)
{
    // Everything given is checked before the port is opened: bad input sends nothing.
    const CheckedRequest checked = requestedValues(profileFile(run), run.values, run.peer);
    if (!checked.requested)
        throw Failure{exitcode::kBadInput, checked.error};

    Session session(run);
    session.reach();
    const protocol::ParameterReply stored = session.readUnit();
    const CheckedParameters target = completed(*checked.requested, stored);
    if (!target.parameters)
        throw Failure{exitcode::kNotWritten, target.error + QStringLiteral("；未写入")};
    const Parameters &wanted = *target.parameters;
    const QStringList changed = changes(stored, wanted);
    for (const QString &line : changed)
        printMessage(line);
    if (changed.isEmpty())
        printMessage(QStringLiteral("电台的参数已与要写入的相同。"));
    if (run.dryRun) {
        printMessage(QStringLiteral("试运行，未写入。"));
        return exitcode::kDone;
    }
    // A rerun of a provisioning script leaves a unit that is done alone.
    if (changed.isEmpty() && !run.force) {
        printMessage(QStringLiteral("未写入（--force 照样写入）。"));
        return exitcode::kDone;
    }

    const QString backup = saveBackup(run.port.name, profileJson(stored));
    printMessage(QStringLiteral("原参数已备份到 %1").arg(backup));
    session.request(parameterFrame(wanted), protocol::Operation::Write, protocol::Verdict::Written);
    if (!run.verify) {
        printMessage(said(words::outcomes::kWritten) + QStringLiteral("（未回读核对）"));
        return exitcode::kDone;
    }
    const QStringList differ = differences(wanted, session.readUnit());
    if (!differ.isEmpty())
        throw Failure{exitcode::kDiffers, QStringLiteral("回读与写入不符：") + differ.join(QStringLiteral("；"))};
    printMessage(said(words::outcomes::kWritten) + QStringLiteral("回读核对无误。"));
    return exitcode::kDone;
}

int activateUnit(const Invocation &run)
{
    Session session(run);
    const QString before = session.reach();
    // Where to look afterwards: what the unit stores now becomes its line.
    const QString expected = run.follow ? settingsAfterActivation(session.readUnit(), before) : QString();
    session.request(protocol::ActivateRequest(), protocol::Operation::Activate, protocol::Verdict::Activated);
    printMessage(said(words::outcomes::kActivated));
    QJsonObject result = located(run, session);
    result.insert(QStringLiteral("activated_at"), before);
    if (!run.follow) {
        // Where the unit has gone is not confirmed without --follow.
        result.insert(QStringLiteral("settings"), QJsonValue::Null);
        if (run.json)
            printJson(result);
        return exitcode::kDone;
    }

    // The port stays open, its control lines raised, while the unit moves.
    session.line().pause(kSettleAfterActivationMs);
    const QString found = session.detectIn(
        detectionOrder(expected), QStringLiteral("激活后找不到设备（应在 %1）").arg(expected));
    session.readUnit(); // a whole exchange at the new settings, not just a probe
    if (found != expected)
        printMessage(QStringLiteral("注意：设备在 %1 应答，而不是它存储的 %2").arg(found, expected));
    return printFound(run, result, found);
}
