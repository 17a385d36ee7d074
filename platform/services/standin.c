/* Placeholder bodies until the stand-in proper arrives: every call fails. */
#include "labelpolicy.h"
#include "varnel-standin.h"

__attribute__((visibility("default"))) int varnel_mac_enabled(void)
{
    return 0;
}
__attribute__((visibility("default"))) int varnel_strict_mode(void)
{
    return 0;
}
__attribute__((visibility("default"))) levdb * openlevdb_r(void)
{
    return 0;
}
__attribute__((visibility("default"))) int setlevent_r(levdb *db)
{
    (void)db;
    return 0;
}
__attribute__((visibility("default"))) level_entry * getlevent_r(levdb *db)
{
    (void)db;
    return 0;
}
__attribute__((visibility("default"))) void freelevent_r(level_entry *entry)
{
    (void)entry;
}
__attribute__((visibility("default"))) void endlevent_r(levdb *db)
{
    (void)db;
}
__attribute__((visibility("default"))) void closelevdb_r(levdb *db)
{
    (void)db;
}
__attribute__((visibility("default"))) catdb * opencatdb_r(void)
{
    return 0;
}
__attribute__((visibility("default"))) int setcatent_r(catdb *db)
{
    (void)db;
    return 0;
}
__attribute__((visibility("default"))) category_entry * getcatent_r(catdb *db)
{
    (void)db;
    return 0;
}
__attribute__((visibility("default"))) void freecatent_r(category_entry *entry)
{
    (void)entry;
}
__attribute__((visibility("default"))) void endcatent_r(catdb *db)
{
    (void)db;
}
__attribute__((visibility("default"))) void closecatdb_r(catdb *db)
{
    (void)db;
}
__attribute__((visibility("default"))) macdb * openmacdb_r(void)
{
    return 0;
}
__attribute__((visibility("default"))) int setmacent_r(macdb *db)
{
    (void)db;
    return 0;
}
__attribute__((visibility("default"))) user_mac_entry * getmacuid_r(macdb *db, uid_t uid)
{
    (void)db;
    (void)uid;
    return 0;
}
__attribute__((visibility("default"))) void freemacent_r(user_mac_entry *entry)
{
    (void)entry;
}
__attribute__((visibility("default"))) void endmacent_r(macdb *db)
{
    (void)db;
}
__attribute__((visibility("default"))) void closemacdb_r(macdb *db)
{
    (void)db;
}
__attribute__((visibility("default"))) micdb * openmicdb_r(void)
{
    return 0;
}
__attribute__((visibility("default"))) user_mic_entry * getmicuid_r(micdb *db, uid_t uid)
{
    (void)db;
    (void)uid;
    return 0;
}
__attribute__((visibility("default"))) void freemicent_r(user_mic_entry *entry)
{
    (void)entry;
}
__attribute__((visibility("default"))) void closemicdb_r(micdb *db)
{
    (void)db;
}
__attribute__((visibility("default"))) int getlchuid(uid_t uid, last_choice_entry *entry)
{
    (void)uid;
    (void)entry;
    return 0;
}
__attribute__((visibility("default"))) int setlchuid(uid_t uid, const last_choice_entry *entry)
{
    (void)uid;
    (void)entry;
    return 0;
}
__attribute__((visibility("default"))) tav_label * tav_get_pid(pid_t pid)
{
    (void)pid;
    return 0;
}
__attribute__((visibility("default"))) tav_label * tav_get_path(const char *path)
{
    (void)path;
    return 0;
}
__attribute__((visibility("default"))) int tav_set_path(const char *path, tav_label *label)
{
    (void)path;
    (void)label;
    return 0;
}
__attribute__((visibility("default"))) tav_label * tavl_get_new(void)
{
    return 0;
}
__attribute__((visibility("default"))) void tavl_put(tav_label *label)
{
    (void)label;
}
__attribute__((visibility("default"))) mac_lev_t tavl_lev(const tav_label *label)
{
    (void)label;
    return 0;
}
__attribute__((visibility("default"))) TAV_ILEV_T tavl_ilev(const tav_label *label)
{
    (void)label;
    return 0;
}
__attribute__((visibility("default"))) mac_cat_t tavl_cat(const tav_label *label)
{
    (void)label;
    return 0;
}
__attribute__((visibility("default"))) uint16_t tavl_type(const tav_label *label)
{
    (void)label;
    return 0;
}
__attribute__((visibility("default"))) void tavl_set_lev(tav_label *label, mac_lev_t level)
{
    (void)label;
    (void)level;
}
__attribute__((visibility("default"))) void tavl_set_ilev(tav_label *label, TAV_ILEV_T ilevel)
{
    (void)label;
    (void)ilevel;
}
__attribute__((visibility("default"))) void tavl_set_cat(tav_label *label, mac_cat_t categories)
{
    (void)label;
    (void)categories;
}
__attribute__((visibility("default"))) void tavl_set_type(tav_label *label, uint16_t type)
{
    (void)label;
    (void)type;
}
__attribute__((visibility("default"))) int tavl_supports_type(const tav_label *label, int type, int flags)
{
    (void)label;
    (void)type;
    (void)flags;
    return 0;
}
__attribute__((visibility("default"))) char * tavl_get_text(const tav_label *label, int form)
{
    (void)label;
    (void)form;
    return 0;
}
__attribute__((visibility("default"))) TAV_ILEV_T tav_get_max_ilev(void)
{
    return 0;
}
__attribute__((visibility("default"))) TAV_ILEV_T tav_get_current_ilev(void)
{
    return 0;
}
__attribute__((visibility("default"))) char * tav_ilev_get_text(TAV_ILEV_T ilevel, int form)
{
    (void)ilevel;
    (void)form;
    return 0;
}
__attribute__((visibility("default"))) mac_label * mac_init(uint32_t type)
{
    (void)type;
    return 0;
}
__attribute__((visibility("default"))) void mac_set_lev(mac_label *label, mac_lev_t level)
{
    (void)label;
    (void)level;
}
__attribute__((visibility("default"))) void mac_set_cat(mac_label *label, mac_cat_t categories)
{
    (void)label;
    (void)categories;
}
__attribute__((visibility("default"))) char * mac_to_text(const mac_label *label, int flags, int form)
{
    (void)label;
    (void)flags;
    (void)form;
    return 0;
}
__attribute__((visibility("default"))) void mac_free(mac_label *label)
{
    (void)label;
}
__attribute__((visibility("default"))) void varnel_standin_trace_clear(void) {}
__attribute__((visibility("default"))) const char *varnel_standin_trace(void) { return ""; }
__attribute__((visibility("default"))) long varnel_standin_live(void) { return 0; }
