#pragma once
// The window kit: one way to register a window class and one window procedure that hands every
// message of a window to the object that made it. A window of the program derives from Window,
// overrides the handlers it serves and creates its handle with CreateHandle.
#include <windows.h>

namespace tolvenar::win32 {

// A window class of the program: its name and looks. Every class shares the kit's procedure.
struct WindowClass {
  const wchar_t* name = nullptr;
  HBRUSH background = nullptr;  // null: the window paints its whole client area itself
  HCURSOR cursor = nullptr;     // null: the arrow
  HICON icon = nullptr;
  HICON small_icon = nullptr;
};

// Registers the class for this program; a class registered before counts as done.
bool RegisterWindowClass(const WindowClass& window_class);

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  // A window still there goes without its handlers: the object is half destroyed by now.
  virtual ~Window();

  // The window; null before it is created and once it is destroyed.
  HWND handle() const { return handle_; }

 protected:
  // Creates the window of a registered class with this object serving its messages from
  // WM_NCCREATE on; `box` is the window's rectangle (left, top, right, bottom). False on failure.
  bool CreateHandle(const wchar_t* class_name, const wchar_t* title, DWORD style, DWORD ex_style,
                    const RECT& box, HWND parent = nullptr, int child_id = 0);
  // Destroys the window, its handlers running as usual.
  void Destroy();
  // Destroys the window without calling any handler (for owners going away).
  void DestroyQuietly();

  // Every message but the three below; WM_NCDESTROY comes last, and handle() is null after it.
  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);
  // WM_PAINT, between BeginPaint and EndPaint.
  virtual void OnPaint(HDC dc) {}
  // WM_TIMER of a timer without a procedure.
  virtual void OnTimer(UINT_PTR id) {}
  // WM_CLOSE: by default the window is destroyed.
  virtual void OnClose() { Destroy(); }
  // What the platform does with a message no handler serves.
  LRESULT DefaultMessage(UINT message, WPARAM wparam, LPARAM lparam);

 private:
  friend bool RegisterWindowClass(const WindowClass& window_class);
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Route(UINT message, WPARAM wparam, LPARAM lparam);

  HWND handle_ = nullptr;
};

}  // namespace tolvenar::win32
