#pragma once
// The frame's document: it holds nothing but the title the frame shows, and
// is never saved.
#include <string>

class CQuorinDoc {
public:
    void SetTitle(const std::string& title) { m_title = title; }
    const std::string& GetTitle() const { return m_title; }

private:
    std::string m_title;
};
