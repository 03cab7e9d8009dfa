// Placeholder: the station data record and its files (being built).
namespace korrin {}
