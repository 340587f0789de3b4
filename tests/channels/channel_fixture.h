// A booted program with the channel table open, as an operator finds it after pressing "Chan List".
#ifndef QM_TESTS_CHANNELS_CHANNEL_FIXTURE_H
#define QM_TESTS_CHANNELS_CHANNEL_FIXTURE_H

#include <cstdint>
#include <string>

#include "panel_fixture.h"
#include "qm4120_chan_all.h"
#include "qm4120_chan_lm.h"

class ChannelFixture : public PanelFixture {
  protected:
    // Boots `model` and opens the channel table from the main panel.
    void open(uint16_t model) {
        ASSERT_NE(boot(model), 0u);
        ASSERT_TRUE(op.press(main(), MAINPANEL_CHANNELS));
    }
    static int editAll() { return getEditAllPanel(); }
    static int listMode() { return getListModePanel(); }
    std::string cell(int channel, int col) const {
        return op.cell(chan(), CHANPANEL_CHAN_GRID, channel + 1, col);
    }
    int topRow() const {
        int top = -1;
        GridGetTopRow(chan(), CHANPANEL_CHAN_GRID, &top);
        return top;
    }
    template <typename T>
    T channelValue(int32_t (*get)(uint32_t, T*, uint16_t), int channel) const {
        T value{};
        EXPECT_GE(get(session(), &value, static_cast<uint16_t>(channel)), 0);
        return value;
    }
};

#endif
