// Entry point of the widget plug-in; the host resolves this symbol to check
// that it loaded a compatible plug-in before asking for its views.
extern "C" __attribute__((visibility("default"))) int vorlie_widgets_abi_version()
{
    return 1;
}
