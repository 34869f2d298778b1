// The transcript page's player on the offscreen platform: the template makes
// it, the window hands it to the logic, and a file that cannot be played (or
// a machine without sound output) ends in words, heard by the logic. Nothing
// here can make a sound: the file is not there.
#include "platform/media_player.h"
#include "platform/qt/qt_window.h"
#include "platform/qt/widgets/media_player_view.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace orvane::platform::qt {
namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CPlayerLogic final : public IDialogLogic {
public:
    void OnInit(IWindow&) override {}
    void OnNotify(IWindow&, const Notification& notification) override
    {
        if (notification.code == NotifyCode::PlayerStateChanged)
            ++changes;
    }
    int changes = 0;
};

TEST(MediaPlayerView, AFileThatCannotBePlayedEndsInWordsTheLogicHears)
{
    QByteArray text = ReadAll(QString(ORVANE_RESOURCES_DIR) + "/templates/206.ui");
    text.replace("<widget class=\"QWidget\" name=\"t206\">", "<widget class=\"QDialog\" name=\"t206\">");
    const TemplateInfo info = *ParseTemplate(std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
    ASSERT_EQ(info.Find(1295)->kind, ControlKind::MediaPlayer);
    CPlayerLogic logic;
    QWidget* widget = LoadTemplateWidget(text, nullptr);
    auto window = std::make_unique<CQtWindow>(206, info, widget, logic, nullptr);
    ASSERT_NE(widget->findChild<CMediaPlayerView*>("c1295"), nullptr);
    EXPECT_EQ(window->MediaPlayer(1292), nullptr);
    IMediaPlayer* player = window->MediaPlayer(1295);
    ASSERT_NE(player, nullptr);
    EXPECT_EQ(player->State(), MediaState::Stopped);
    // A sound takes no room on the page until there is a video to show.
    EXPECT_EQ(widget->findChild<CMediaPlayerView*>("c1295")->maximumHeight(), 0);

    player->Play(QDir::temp().filePath("orvane-no-such-recording.wav").toStdString());
    QTRY_VERIFY_WITH_TIMEOUT(player->State() == MediaState::Failed, 10000);
    EXPECT_FALSE(player->ErrorText().empty());
    EXPECT_GE(logic.changes, 1);
    player->Stop();
    EXPECT_EQ(player->State(), MediaState::Stopped);
    window.reset();
}

} // namespace
} // namespace orvane::platform::qt
