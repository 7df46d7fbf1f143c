#include "app/splitter.h"

#include "framework/messages.h"

void Splitter::Setup(HWND window_, int position_, int topReserve_, int bottomReserve_, HCURSOR cursor_) {
    window = window_;
    topReserve = topReserve_;
    bottomReserve = bottomReserve_;
    cursor = cursor_;
    dragging = false;
    minimum = 2000;
    maximum = 30000;
    thickness = 4;
    // A saved position out of range would give the first layout a list or
    // pane of no height, so it is clamped before any layout uses it.
    position = position_ < minimum ? minimum : position_ > maximum ? maximum : position_;
}

void Splitter::SetReserves(int top, int bottom) {
    topReserve = top;
    bottomReserve = bottom;
}

int Splitter::AvailableHeight() const {
    RECT client;
    GetClientRect(window, &client);
    const int available = client.bottom - topReserve - bottomReserve;
    return available < 1 ? 1 : available;
}

int Splitter::ClampBand(int y) const {
    if (y < limitTop) return limitTop;
    if (y > limitBottom) return limitBottom;
    return y;
}

// XOR band on the screen: drawing it twice at the same place erases it.
void Splitter::DrawBand(int screenY) {
    RECT wr;
    GetWindowRect(window, &wr);
    HDC dc = GetDC(nullptr);
    HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    HGDIOBJ old = SelectObject(dc, black);
    PatBlt(dc, wr.left + 2, screenY, wr.right - (wr.left + 2), thickness, PATINVERT);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
}

bool Splitter::HandleMessage(UINT message, WPARAM, LPARAM lParam) {
    if (!window) return false;
    switch (message) {
        case WM_SIZE: {
            barTop = topReserve + static_cast<int>(static_cast<long long>(position) * AvailableHeight() / 32767);
            if (position < minimum) position = minimum;
            if (position > maximum) position = maximum;
            return false;
        }
        case WM_PAINT: {
            // The frame dispatch paints after us; only the bar is ours.
            RECT client;
            GetClientRect(window, &client);
            RECT bar = {0, barTop, client.right, barTop + thickness};
            HDC dc = GetDC(window);
            FillRect(dc, &bar, GetSysColorBrush(COLOR_BTNFACE));
            ReleaseDC(window, dc);
            return false;
        }
        case WM_SETCURSOR: {
            POINT p;
            GetCursorPos(&p);
            ScreenToClient(window, &p);
            if (OverBar(p.y) && cursor) {
                SetCursor(cursor);
                return true;
            }
            return false;
        }
        case WM_LBUTTONDOWN: {
            const int y = static_cast<short>(HIWORD(lParam));
            if (!OverBar(y)) return false;
            SetCapture(window);
            dragging = true;
            RECT wr;
            GetWindowRect(window, &wr);
            limitTop = wr.top + 120;
            limitBottom = wr.bottom - 70;
            POINT p = {0, y};
            ClientToScreen(window, &p);
            bandY = ClampBand(p.y - thickness / 2);
            DrawBand(bandY);
            return false;
        }
        case WM_MOUSEMOVE: {
            if (!dragging) return false;
            POINT p = {0, static_cast<short>(HIWORD(lParam))};
            ClientToScreen(window, &p);
            const int y = ClampBand(p.y - thickness / 2);
            if (y != bandY) {
                DrawBand(bandY);
                bandY = y;
                DrawBand(bandY);
            }
            return false;
        }
        case WM_LBUTTONUP: {
            if (!dragging) return false;
            DrawBand(bandY);
            POINT p = {0, bandY};
            if (ScreenToClient(window, &p)) {
                int newPosition =
                    static_cast<int>(static_cast<long long>(p.y - topReserve) * 32767 / AvailableHeight());
                if (newPosition < minimum) newPosition = minimum;
                if (newPosition > maximum) newPosition = maximum;
                position = newPosition;
                barTop = p.y;
                PostMessageA(window, UM_SPLITTERMOVED, 0, 0);
            }
            ReleaseCapture();
            dragging = false;
            return false;
        }
        default:
            return false;
    }
}
