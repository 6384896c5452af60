#include "widgets/mainwindow/deliverybindings.h"

#include "core/platform/messageservice.h"
#include "interchange/hotsync/tuserdata.h"
#include "rules/settings/preferences.h"
#include "rules/shell/deliverysetuprules.h"
#include "rules/shell/engineservices.h"
#include "widgets/dialogs/deliverysetupform.h"
#include "widgets/mainwindow/commandhost.h"
#include "widgets/mainwindow/installbindings.h"
#include "widgets/mainwindow/startpage.h"

#include <QAction>
#include <QDir>

namespace {

struct Context
{
    const EngineServices &s;
    CommandHost &host;
    StartPage &page;
    SettingsStore &settings;
    bool desktopExpected;
    std::function<void()> usersChanged;
};

/// Reads the users again and shows what they came to.
void readUsers(const Context &x, bool atStart)
{
    TUserData &users = x.s.userData;
    users.Create();
    const DeliverySetupRules::StartNotice notice =
        DeliverySetupRules::startNotice(users, x.s.preferences.handheldSoftware, x.desktopExpected);
    if (atStart && notice == DeliverySetupRules::StartNotice::Message &&
        x.s.messages.show(TUserData::missingSoftwareMessage()) == MessageButton::DontShowAgain)
        x.s.preferences.handheldSoftware = false;
    x.page.setDeliveryNotice(notice == DeliverySetupRules::StartNotice::Line);
    x.s.selectedSyncUser =
        atStart ? users.LastUserIndex()
                : DeliverySetupRules::selectedUser(users, PlainInstallFolder::load(x.settings),
                                                   users.LastUserIndex());
    x.usersChanged();
    x.host.action(Command::Install)->setToolTip(DeliverySetupRules::installHint(users.UserCount()));
    x.host.updateCommandStates();
}

QString loginName()
{
    const QString name = qEnvironmentVariable("USER");
    return name.isEmpty() ? QDir::home().dirName() : name;
}

/// The set-up dialog; true when a setting was stored.
bool setUp(const Context &x)
{
    DeliverySetupRules rules(x.s.userData, PlainInstallFolder::load(x.settings), loginName());
    DeliverySetupForm form(x.page.window());
    const std::optional<PlainInstallFolder::Setting> setting = form.exec(rules, x.s.files);
    if (!setting)
        return false;
    if (!PlainInstallFolder::save(x.settings, *setting)) {
        x.s.messages.show(Message::error(
            {QStringLiteral("The plain install folder could not be written to the settings.")}));
    }
    readUsers(x, false);
    return true;
}

} // namespace

namespace DeliveryBindings {

void start(const EngineServices &services, CommandHost &host, StartPage &page,
           SettingsStore &settings, bool desktopExpected, std::function<void()> usersChanged)
{
    const auto x = std::make_shared<const Context>(
        Context{services, host, page, settings, desktopExpected, std::move(usersChanged)});
    InstallBindings::bind(services, host,
                          [x] { return setUp(*x) && x->s.userData.UserCount() > 0; });
    host.bindCommand(Command::DeliverySetup, [x] { setUp(*x); });
    QObject::connect(&page, &StartPage::deliverySetupRequested, &page, [x] { setUp(*x); });
    readUsers(*x, true);
}

} // namespace DeliveryBindings
