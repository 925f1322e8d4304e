// Pictures of every channel dialog as the user sees it. Each picture must show the channel
// names in their palette colours; with SAROKO_PICTURE_DIR set they are kept as PNG files.
#include <QImage>
#include <QPixmap>
#include <QPushButton>

#include "channels/ChannelColorDlg.h"
#include "channels/ChannelListDlgs.h"
#include "channels/RecCondDlg.h"
#include "channels/ScaleDlgs.h"
#include "ui/channels/ChannelUiTest.h"

namespace saroko::test {
namespace {

class PictureTest : public ChannelUiTest {
protected:
    QImage Take(QWidget& dlg, const char* name) {
        Show(dlg);
        const QImage img = dlg.grab().toImage();
        const QByteArray dir = qgetenv("SAROKO_PICTURE_DIR");
        if (!dir.isEmpty())
            img.save(QString::fromLocal8Bit(dir) + QStringLiteral("/%1.png").arg(name));
        return img;
    }
    static bool Holds(const QImage& img, const PaletteEntry& e) {
        const QRgb want = qRgb(e.red, e.green, e.blue);
        for (int y = 0; y < img.height(); ++y)
            for (int x = 0; x < img.width(); ++x)
                if ((img.pixel(x, y) & 0xFFFFFF) == (want & 0xFFFFFF))
                    return true;
        return false;
    }
};

TEST_F(PictureTest, EveryDialogShowsTheChannelColours) {
    const CChannelPalette& pal = view->Palette();
    {
        ui::CChannelShowDlg dlg(doc, pal, nullptr);
        EXPECT_TRUE(Holds(Take(dlg, "show"), pal.Entry(3))) << "ROOF in Ch.4's colour";
    }
    {
        ui::CChannelDeleteDlg dlg(doc, pal, nullptr);
        EXPECT_TRUE(Holds(Take(dlg, "delete"), pal.Entry(0)));
    }
    {
        ui::CChannelOrderDlg dlg(doc, pal, nullptr);
        dlg.Work().Move(1, 3);
        EXPECT_TRUE(Holds(Take(dlg, "order"), pal.Entry(2))) << "moved data in row 3's colour";
    }
    {
        ui::CRecCondDlg dlg(doc, pal, nullptr);
        dlg.ChannelButton(2)->click();
        EXPECT_TRUE(Holds(Take(dlg, "reccond"), pal.Entry(1)));
    }
    {
        ui::CRecCondDeleteDlg dlg(doc, pal, nullptr);
        dlg.ChannelButton(2)->click();
        static_cast<QAbstractButton*>(dlg.GetDlgItem(ui::CRecCondDlg::kIdcDelete))->click();
        dlg.ChannelButton(1)->click();
        EXPECT_TRUE(Holds(Take(dlg, "reccond-delete"), pal.Entry(0)));
        EXPECT_TRUE(dlg.Work().Deleted(2)) << "shown as the deletion mark";
    }
    {
        ui::CChannelColorDlg dlg(doc, view->Palette(), store, {}, nullptr);
        dlg.ChannelButton(3)->click();
        const QImage img = Take(dlg, "colour");
        for (int i = 0; i < 8; ++i)
            EXPECT_TRUE(Holds(img, pal.Entry(i))) << "the sample line of Ch." << i + 1;
        dlg.Button(ui::kIdcCancel)->click();
    }
}

} // namespace
} // namespace saroko::test
