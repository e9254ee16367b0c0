# The native Linux build: X11, GStreamer and GTK 3 back ends; it draws with the shared GL device.
set(TOLVENAR_SHARED_HALVES gl)
