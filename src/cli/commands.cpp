#include "cli/commands.h"

#include "cli/detection.h"
#include "cli/failure.h"
#include "cli/output.h"
#include "cli/profile.h"
#include "cli/session.h"
#include "cli/state.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// A unit may need a moment after its acknowledgement before it listens at
// its new settings.
constexpr int kSettleAfterActivationMs = 200;

void printJson(const QJsonObject &object)
{
    printData(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

void printSettings(const Invocation &run, const Session &session, const QString &settings)
{
    if (run.json)
        printJson({{QStringLiteral("port"), run.port},
                   {QStringLiteral("device"), session.line().device()},
                   {QStringLiteral("settings"), settings}});
    else
        printData(settings);
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
    return ProfileFile{*run.profile, file.readAll()};
}

} // namespace

int detectUnit(const Invocation &run)
{
    Session session(run);
    const QString settings = session.reach();
    printMessage(QStringLiteral("检测到设备。"));
    printSettings(run, session, settings);
    return exitcode::kDone;
}

int readUnit(const Invocation &run)
{
    Session session(run);
    session.reach();
    const protocol::ParameterReply reply = session.readUnit();
    if (run.json) {
        printData(profileJson(reply));
        return exitcode::kDone;
    }
    const ShownFields shown = shownFields(reply);
    for (const Field field : kAllFields) {
        const bool hertz = field == Field::Tx || field == Field::Rx;
        printData(QString::fromUtf8(namesOf(field).label) + QStringLiteral("：") + shown[std::size_t(field)]
                  + (hertz ? QStringLiteral(" Hz") : QString()));
    }
    return exitcode::kDone;
}

int writeUnit(const Invocation &run)
{
    // Everything is checked before the port is opened: bad input sends nothing.
    const CheckedParameters checked = parametersToWrite(profileFile(run), run.values, run.peer);
    if (!checked.parameters)
        throw Failure{exitcode::kBadInput, checked.error};
    const Parameters &wanted = *checked.parameters;

    Session session(run);
    session.reach();
    const QString backup = saveBackup(run.port, profileJson(session.readUnit()));
    printMessage(QStringLiteral("原参数已备份到 %1").arg(backup));
    session.request(parameterFrame(wanted), protocol::Operation::Write, protocol::Verdict::Written);
    if (!run.verify) {
        printMessage(QStringLiteral("写入成功！（未回读核对）"));
        return exitcode::kDone;
    }
    const QStringList differ = differences(wanted, session.readUnit());
    if (!differ.isEmpty())
        throw Failure{exitcode::kDiffers, QStringLiteral("回读与写入不符：") + differ.join(QStringLiteral("；"))};
    printMessage(QStringLiteral("写入成功！回读核对无误。"));
    return exitcode::kDone;
}

int activateUnit(const Invocation &run)
{
    Session session(run);
    const QString before = session.reach();
    // Where to look afterwards: what the unit stores now becomes its line.
    const QString expected = run.follow ? settingsAfterActivation(session.readUnit(), before) : QString();
    session.request(protocol::ActivateRequest(), protocol::Operation::Activate, protocol::Verdict::Activated);
    printMessage(QStringLiteral("激活成功！"));
    if (!run.follow)
        return exitcode::kDone;

    session.line().close();
    session.line().pause(kSettleAfterActivationMs);
    const QString found = session.detectIn(
        detectionOrder(expected), QStringLiteral("激活后找不到设备（应在 %1）").arg(expected));
    session.readUnit(); // a whole exchange at the new settings, not just a probe
    if (found != expected)
        printMessage(QStringLiteral("注意：设备在 %1 应答，而不是它存储的 %2").arg(found, expected));
    printSettings(run, session, found);
    return exitcode::kDone;
}
