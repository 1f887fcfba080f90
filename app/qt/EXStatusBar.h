#pragma once
// A status bar that hosts windows in its panes.
#include <cstdint>
#include <memory>
#include <vector>

#include <QPointer>
#include <QStatusBar>

class QFrame;

// Pane styles kept from the indicator table.
constexpr std::uint32_t kPaneNoBorders = 0x100;
constexpr std::uint32_t kPaneStretch = 0x800000;

// A window hosted in a pane. The bar is the window's Qt parent and so its
// one owner; the record only watches it.
class CEXStatusBarPaneControlInfo {
public:
    QPointer<QWidget> m_hWnd;
    std::uint32_t m_nPaneID = 0;
    bool m_bAutoDelete = true;
};

class CEXStatusBar : public QStatusBar {
    Q_OBJECT
public:
    explicit CEXStatusBar(QWidget* parent = nullptr);
    ~CEXStatusBar() override;

    bool Create(QWidget* frame, std::uint32_t id);
    // One pane per id, in order: id 0 is the stretching message pane, the
    // others are sized by their indicator text. False for an id without one.
    bool SetIndicators(const std::uint32_t* ids, int count);

    int GetCount() const { return static_cast<int>(m_panes.size()); }
    int CommandToIndex(std::uint32_t id) const;
    std::uint32_t GetItemID(int index) const;
    bool GetPaneInfo(int index, std::uint32_t& id, std::uint32_t& style, int& width) const;
    void SetPaneInfo(int index, std::uint32_t id, std::uint32_t style, int width);
    // The pane's rectangle in the bar, borders included.
    QRect GetItemRect(int index) const;
    // Outer horizontal border, vertical border, spacing between panes.
    void GetBorders(int& horizontal, int& vertical, int& spacing) const;

    // Hosts the window in the connection pane; refused while a window is
    // hosted there or when the bar has no such pane.
    bool AttachPaneWindow(QWidget* window);
    QWidget* GetPaneWindow(std::uint32_t paneId) const;

    void ResizePane(int index, int width);
    void LayoutPaneWindows();
    // The bar changed size: its panes moved, and their windows with them.
    void OnSize();

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Pane {
        std::uint32_t id = 0;
        std::uint32_t style = 0;
        int width = 0;
        QFrame* frame = nullptr; // none for the message pane
    };
    void ApplyPaneStyle(const Pane& pane) const;

    std::vector<Pane> m_panes;
    std::vector<std::unique_ptr<CEXStatusBarPaneControlInfo>> m_controls;
};
