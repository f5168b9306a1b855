#include "app/commandtable.h"

namespace {
constexpr const char* refused = "您没有此操作权限";
}

const QList<MenuEntry>& CommandTable::menus()
{
    static const QList<MenuEntry> table{
        {"jhgl",
         "基础数据管理",
         false,
         {{"jhzd", "基础数据设置流程"},
          {"ydjhcx", "操作员管理"},
          {"N13", "操作员权限管理"},
          {"ljmb", "联机检索目标设置"},
          {"bztsfl", "国家标准图书分类码录入"}}},
        {"ylsgl",
         "阅览室管理",
         false,
         {{"zzqk", "新到书刊登记"}, {"dyfydj", "阅览登记"}, {"ylscx", "阅览室查询"}}},
        {"yjcgl",
         "外借处管理",
         false,
         {{"dzjsdj", "读者借书登记"},
          {"dzhsdj", "读者还书登记"},
          {"yqfkdj", "读者逾期罚款登记"},
          {"dzjycx", "读者借阅查询"},
          {"xssj", "新书上架登记"}}},
        {"kpgl",
         "借书证管理",
         false,
         {{"blxk", "办理借书证"},
          {"kpcx", "借书证查询"},
          {"N7", "借书证挂失"},
          {"N8", "借书证解挂失"},
          {"N18", "借书证充值/延期"},
          {"kpgs", "注销借书证"},
          {"N19", "借书证充值查询"},
          {"N17", "挂失查询"}}},
        {"bmgl",
         "图书管理",
         false,
         {{"tsbm", "图书编目"},
          {"bmcx", "图书查询"},
          {"jscl", "旧图书处理"},
          {"yjtscx", "旧图书处理查询"},
          {"N12", "图书检索"},
          {"gbccd", "改变图书存放地点"}}},
        {"dzjs", "图书信息查询", false, {{"N9", "图书信息查询"}, {"N10", "读者逾期查询"}}},
        {"cwcx", "财务查询", false, {}},
        {"xtgn", "系统维护", true, {{"N20", "系统备份与恢复"}, {"N15", "系统初始化"}}},
        {"N1",
         "帮助",
         true,
         {{"N4", "在线技术支持", nullptr, true},
          {"N2", "帮助主题", "F1", true},
          {"N22", "在线技术支持", nullptr, false},
          {"N5", "退出系统", nullptr, true}}},
    };
    return table;
}

const QList<SideBarHeader>& CommandTable::sideBar()
{
    static const QList<SideBarHeader> table{
        {"图书管理",
         {{"图书编目", "tsbm", refused},
          {"图书查询", "bmcx", "您没有些操作权限"},
          {"已旧图书处理", "jscl", refused},
          {"已旧图书处理查询", "yjtscx", refused},
          {"图书检索", "N12", refused}}},
        {"借书证管理",
         {{"办理借书证", "blxk", refused},
          {"借书证查询", "kpcx", refused},
          {"借书证挂失", "N7", refused},
          {"借书证解挂失", "N8", refused},
          {"借书证充值", "N18", refused},
          {"借书证注销", "kpgs", refused},
          {"充值查询", "N19", "您没有操作此权限"},
          {"挂失查询", "N17", refused}}},
        {"外借处管理",
         {{"读者借书登记", "dzjsdj", refused},
          {"读者还书登记", "dzhsdj", refused},
          {"读者借阅查询", "dzjycx", refused},
          {"新书上架调整", "xssj", refused}}},
        {"阅览室管理",
         {{"新到书刊登记", "zzqk", refused},
          {"阅览登记", "dyfydj", refused},
          {"阅览室查询", "ylscx", refused}}},
        {"财务查询", {{"财务查询", "cwcx", refused}}},
        {"查询管理", {{"读书信息检索", "N9", refused}, {"读者逾期查询", "N10", refused}}},
        {"系统设置流程", {{"基础数据管理", "jhzd", refused}}},
    };
    return table;
}

QStringList CommandTable::commandKeys()
{
    QStringList keys;
    for (const MenuEntry& menu : menus()) {
        if (menu.items.isEmpty())
            keys << menu.key;
        for (const MenuItemEntry& item : menu.items)
            keys << item.key;
    }
    return keys;
}
